#include "ui/platform_paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace quibel {

char PathSeparator() { return static_cast<char>(QDir::separator().toLatin1()); }

std::string ConfigFolder() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return NativePath(QDir::toNativeSeparators(base + QStringLiteral("/quibel/")));
}

SidePaths SidePathsForExecutable(const QString& executable) {
  return DeriveSidePaths(NativePath(QDir::toNativeSeparators(executable)), PathSeparator(), ConfigFolder());
}

std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString DisplayPath(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

bool EnsureFolderOf(const std::string& path) {
  return QDir().mkpath(QFileInfo(DisplayPath(path)).absolutePath());
}

}  // namespace quibel
