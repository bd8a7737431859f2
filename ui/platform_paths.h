// Where the side files live on this desktop.
#pragma once

#include <QString>
#include <string>

#include "settings/side_files.h"

namespace quibel {

// The platform's folder separator as a byte.
char PathSeparator();

// The folder that stands for the root of the current drive: the user's
// configuration folder for the program ($XDG_CONFIG_HOME/quibel, else
// ~/.config/quibel), with a trailing separator. Not created here.
std::string ConfigFolder();

// The side files of the executable at `executable` (an extension-less
// executable keeps them in ConfigFolder()).
SidePaths SidePathsForExecutable(const QString& executable);

// A path as the file functions take it, and back.
std::string NativePath(const QString& path);
QString DisplayPath(const std::string& path);

// Creates the folder that `path` lies in when it is missing; false when that
// fails.
bool EnsureFolderOf(const std::string& path);

}  // namespace quibel
