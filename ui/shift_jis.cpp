#include "ui/shift_jis.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QList>

namespace quibel {
namespace {

constexpr char kCodec[] = "windows-31j";
constexpr char16_t kReplacement = u'\uFFFD';

QByteArrayView View(std::string_view bytes) {
  return QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Finds the first character the encoder refuses, by trying each alone.
Unmappable FindUnmappable(const QString& text) {
  Unmappable bad;
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QString ch = text.mid(i, width);
    QStringEncoder encoder(kCodec);
    (void)encoder.encode(ch);
    if (encoder.hasError()) {
      bad.character = ch;
      return bad;
    }
    if (ch == u"\n") ++bad.line;
    i += width;
  }
  return bad;
}

}  // namespace

QString Unmappable::Describe() const {
  const char32_t code = character.isEmpty() ? 0 : character.toUcs4().value(0);
  return QStringLiteral("line %1: '%2' (U+%3)")
      .arg(line)
      .arg(character)
      .arg(QString::number(code, 16).toUpper().rightJustified(4, u'0'));
}

std::optional<std::string> ToShiftJis(const QString& text, Unmappable* bad) {
  QStringEncoder encoder(kCodec);
  const QByteArray bytes = encoder.encode(text);
  if (encoder.hasError()) {
    if (bad != nullptr) *bad = FindUnmappable(text);
    return std::nullopt;
  }
  return bytes.toStdString();
}

QString FromShiftJis(std::string_view bytes) {
  // The codec stands a byte it cannot decode for by U+001A, which a real
  // 0x1A byte gives too. A second pass that turns such bytes into U+0000
  // tells the two apart, character for character.
  QStringDecoder plain(kCodec);
  QString text = plain.decode(View(bytes));
  if (!plain.hasError()) return text;
  QStringDecoder marking(kCodec, QStringConverter::Flag::ConvertInvalidToNull);
  const QString marked = marking.decode(View(bytes));
  if (marked.size() != text.size()) return text;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text.at(i) == QChar(0x1A) && marked.at(i) == QChar(0)) text[i] = QChar(kReplacement);
  }
  return text;
}

bool IsValidUtf8(std::string_view bytes) {
  QStringDecoder decoder(QStringConverter::Utf8);
  (void)decoder.decode(View(bytes));
  return !decoder.hasError();
}

bool HasHighBytes(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

}  // namespace quibel
