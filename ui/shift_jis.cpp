#include "ui/shift_jis.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QList>

namespace quibel {
namespace {

constexpr char kCodec[] = "windows-31j";
constexpr char16_t kReplacement = u'\uFFFD';

// The converter behind the codec name follows an IBM table that rotates
// three control codes (0x1A, 0x1C, 0x7F) against Unicode, where Windows
// code page 932 maps all of 0x00-0x7F to themselves. These swap them back
// on the way in and out, so that every control byte round-trips as itself
// (0x1A matters: it ends a signature file's text).
QChar BeforeEncoding(QChar c) {
  switch (c.unicode()) {
    case 0x1A: return QChar(0x1C);  // the converter writes U+001C as 0x1A
    case 0x1C: return QChar(0x7F);  // ... U+007F as 0x1C
    case 0x7F: return QChar(0x1A);  // ... U+001A as 0x7F
    default: return c;
  }
}

QChar AfterDecoding(QChar c) {
  switch (c.unicode()) {
    case 0x1C: return QChar(0x1A);  // the converter reads 0x1A as U+001C
    case 0x7F: return QChar(0x1C);  // ... 0x1C as U+007F
    case 0x1A: return QChar(0x7F);  // ... 0x7F as U+001A
    default: return c;
  }
}

QString WithControlsFixed(QString text, QChar (*fix)(QChar)) {
  for (qsizetype i = 0; i < text.size(); ++i) text[i] = fix(text.at(i));
  return text;
}

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
    const QByteArray ignored = encoder.encode(ch);
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
  const QByteArray bytes = encoder.encode(WithControlsFixed(text, BeforeEncoding));
  if (encoder.hasError()) {
    if (bad != nullptr) *bad = FindUnmappable(text);
    return std::nullopt;
  }
  return bytes.toStdString();
}

QString FromShiftJis(std::string_view bytes) {
  // The codec drops a character cut off at the very end without a trace; a
  // line feed after the text makes it one that does not decode, like any
  // other, and is taken off again afterwards.
  std::string input(bytes);
  input.push_back('\n');
  // The codec stands a byte it cannot decode for by U+001A, which a real
  // 0x1A byte gives too (see AfterDecoding). A second pass that turns such
  // bytes into U+0000 tells the two apart, character for character.
  QStringDecoder plain(kCodec);
  QString text = plain.decode(View(input));
  if (plain.hasError()) {
    QStringDecoder marking(kCodec, QStringConverter::Flag::ConvertInvalidToNull);
    const QString marked = marking.decode(View(input));
    if (marked.size() == text.size()) {
      for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QChar(0x1A) && marked.at(i) == QChar(0)) text[i] = QChar(kReplacement);
      }
    }
  }
  text.chop(1);
  return WithControlsFixed(text, AfterDecoding);
}

std::optional<QString> FromShiftJisStrict(std::string_view bytes) {
  QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
  const QString text = decoder.decode(View(bytes));
  if (decoder.hasError()) return std::nullopt;
  return WithControlsFixed(text, AfterDecoding);
}

bool IsValidUtf8(std::string_view bytes) {
  QStringDecoder decoder(QStringConverter::Utf8);
  const QString ignored = decoder.decode(View(bytes));
  return !decoder.hasError();
}

bool HasHighBytes(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

}  // namespace quibel
