// quibel-format: the reformatting engine as a filter for editors and mailers.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "engine/byte_sink.h"
#include "engine/reformat.h"
#include "settings/settings_file.h"
#include "settings/side_files.h"
#include "ui/platform_paths.h"
#include "ui/date_text.h"
#include "ui/shift_jis.h"

namespace quibel {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // unreadable input, unwritable output, encoding
constexpr int kExitUsage = 2;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

enum class Encoding { ShiftJis, Utf8, Auto };

// Everything the command line says, checked.
struct Request {
  FormatOptions options;
  std::optional<bool> marker, paragraph, indent, unwrap, date;
  std::optional<std::int32_t> date_position;
  // --settings: the window's settings file (empty: the user's own).
  std::optional<QString> settings;
  std::optional<std::int32_t> limit;
  std::optional<QString> headings;   // as typed; absent: the default text
  std::optional<QString> signature;  // the signature file, when asked for
  QDate today = QDate::currentDate();
  OutputMode mode = OutputMode::File;
  Encoding encoding = Encoding::Auto;
  bool stats = false;
  QString input = QStringLiteral("-");
  std::optional<QString> output;
};

// A message for standard error and the exit code that goes with it.
struct Failure {
  int code;
  QString message;
};

void PrintError(const QString& message) {
  std::fprintf(stderr, "quibel-format: %s\n", message.toLocal8Bit().constData());
}

std::string FileName(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString InputName(const Request& request) {
  return request.input == u"-" ? QStringLiteral("standard input") : request.input;
}

std::optional<std::int32_t> ParseLimit(const QString& text) {
  static const QRegularExpression kWhole(QStringLiteral("^[+-]?[0-9]+$"));
  if (!kWhole.match(text).hasMatch()) return std::nullopt;
  bool ok = false;
  const qlonglong value = text.toLongLong(&ok);
  if (!ok || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<QDate> ParseDate(const QString& text) {
  static const QRegularExpression kIsoDay(QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}$"));
  if (!kIsoDay.match(text).hasMatch()) return std::nullopt;
  const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
  if (!date.isValid()) return std::nullopt;
  return date;
}

// --settings takes an optional value, which the parser cannot express: its
// "--settings=FILE" form is handed to a hidden option of its own.
constexpr char kSettingsFileOption[] = "settings-file";

QStringList WithSettingsValue(QStringList arguments) {
  static const QString kWithValue = QStringLiteral("--settings=");
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == u"--") break;
    if (arguments[i].startsWith(kWithValue))
      arguments[i] = QStringLiteral("--%1=").arg(QLatin1String(kSettingsFileOption)) +
                     arguments[i].mid(kWithValue.size());
  }
  return arguments;
}

// Reads the command line into `request`; a failure is bad usage.
std::optional<Failure> ParseCommandLine(const QStringList& arguments, Request& request) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Puts a Japanese reply text into shape: one uniform quote prefix, bodies\n"
      "re-cut at a byte limit, former wraps undone, headings passed through."));
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help and exit."));
  const QCommandLineOption version(QStringLiteral("version"),
                                   QStringLiteral("Show the version and exit."));
  const QCommandLineOption limit(QStringLiteral("limit"),
      QStringLiteral("Line limit in bytes; below 20 no re-wrapping (default: the longest line)."),
      QStringLiteral("N"));
  const QCommandLineOption headings(QStringLiteral("headings"),
      QStringLiteral("Heading prefixes, two bytes each (default \"--／－【《\"; empty: none)."),
      QStringLiteral("TEXT"));
  const QCommandLineOption signature(QStringLiteral("signature"),
      QStringLiteral("Append the signature FILE."), QStringLiteral("FILE"));
  const QCommandLineOption date(QStringLiteral("date"), QStringLiteral("Append the date line."));
  const QCommandLineOption position(QStringLiteral("date-position"),
      QStringLiteral("blank (under the signature's indent, default) or right."),
      QStringLiteral("blank|right"));
  const QCommandLineOption today(QStringLiteral("today"),
      QStringLiteral("Date of the date line instead of today."), QStringLiteral("YYYY-MM-DD"));
  const QCommandLineOption mode(QStringLiteral("mode"),
      QStringLiteral("file (default), clipboard or preview."), QStringLiteral("file|clipboard|preview"));
  const QCommandLineOption encoding(QStringLiteral("encoding"),
      QStringLiteral("sjis, utf-8 or auto (default)."), QStringLiteral("sjis|utf-8|auto"));
  const QCommandLineOption stats(QStringLiteral("stats"),
      QStringLiteral("Print the line count, depth and longest line, and exit."));
  const QCommandLineOption settings(QStringLiteral("settings"),
      QStringLiteral("Take the options the window saved, from its settings file or FILE\n"
                     "(--settings=FILE); options given here win."));
  const QCommandLineOption settings_file = [] {
    QCommandLineOption o(QString::fromLatin1(kSettingsFileOption), QString(), QStringLiteral("FILE"));
    o.setFlags(QCommandLineOption::HiddenFromHelp);
    return o;
  }();
  const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
      QStringLiteral("Write to FILE instead of standard output."), QStringLiteral("FILE"));
  struct Toggle {
    const char* on;
    const char* off;
    const char* what_on;
    const char* what_off;
    std::optional<bool>* value;
  };
  const Toggle toggles[] = {
      {"marker", "no-marker", "One more '>' in front of every quote prefix (default).",
       "No extra '>'.", &request.marker},
      {"paragraph", "no-paragraph", "Two blanks open every paragraph (default).",
       "No paragraph blanks.", &request.paragraph},
      {"indent", "no-indent", "One blank ends every quote prefix.",
       "No blank after the prefix (default: the blank when the depth is even).", &request.indent},
      {"unwrap", "no-unwrap", "Undo line breaks a mailer made by wrapping.",
       "Keep every line break (default).", &request.unwrap},
  };
  parser.addOption(help);
  parser.addOption(version);
  for (const Toggle& t : toggles) {
    parser.addOption(QCommandLineOption(QString::fromLatin1(t.on), QString::fromLatin1(t.what_on)));
    parser.addOption(QCommandLineOption(QString::fromLatin1(t.off), QString::fromLatin1(t.what_off)));
  }
  for (const auto* o : {&limit, &headings, &signature, &date, &position, &today, &mode,
                        &encoding, &stats, &settings, &settings_file, &output})
    parser.addOption(*o);
  parser.addPositionalArgument(QStringLiteral("FILE"),
                               QStringLiteral("The reply text; absent or \"-\": standard input."),
                               QStringLiteral("[FILE]"));

  if (!parser.parse(WithSettingsValue(arguments))) return Failure{kExitUsage, parser.errorText()};
  if (parser.isSet(help)) {
    std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
    return Failure{kExitOk, {}};
  }
  if (parser.isSet(version)) {
    std::printf("quibel-format %s\n", QUIBEL_VERSION);
    return Failure{kExitOk, {}};
  }
  // A later --x or --no-x wins over an earlier one.
  for (const QString& name : parser.optionNames()) {
    for (const Toggle& t : toggles) {
      if (name == QLatin1String(t.on)) *t.value = true;
      if (name == QLatin1String(t.off)) *t.value = false;
    }
  }
  if (parser.isSet(limit)) {
    request.limit = ParseLimit(parser.value(limit));
    if (!request.limit)
      return Failure{kExitUsage, QStringLiteral("--limit takes a whole number in the signed 32-bit range, not '%1'")
                                     .arg(parser.value(limit))};
  }
  if (parser.isSet(headings)) request.headings = parser.value(headings);
  if (parser.isSet(signature)) request.signature = parser.value(signature);
  if (parser.isSet(date)) request.date = true;
  if (parser.isSet(settings)) request.settings = QString();
  if (parser.isSet(settings_file)) request.settings = parser.value(settings_file);
  if (parser.isSet(position)) {
    const QString v = parser.value(position);
    if (v == u"blank") request.date_position = 0;
    else if (v == u"right") request.date_position = 1;
    else return Failure{kExitUsage, QStringLiteral("--date-position takes blank or right, not '%1'").arg(v)};
  }
  if (parser.isSet(today)) {
    const auto day = ParseDate(parser.value(today));
    if (!day)
      return Failure{kExitUsage, QStringLiteral("--today takes a real date as YYYY-MM-DD, not '%1'")
                                     .arg(parser.value(today))};
    request.today = *day;
  }
  if (parser.isSet(mode)) {
    const QString v = parser.value(mode);
    if (v == u"file") request.mode = OutputMode::File;
    else if (v == u"clipboard") request.mode = OutputMode::Clipboard;
    else if (v == u"preview") request.mode = OutputMode::Preview;
    else return Failure{kExitUsage, QStringLiteral("--mode takes file, clipboard or preview, not '%1'").arg(v)};
  }
  if (parser.isSet(encoding)) {
    const QString v = parser.value(encoding);
    if (v == u"sjis") request.encoding = Encoding::ShiftJis;
    else if (v == u"utf-8") request.encoding = Encoding::Utf8;
    else if (v == u"auto") request.encoding = Encoding::Auto;
    else return Failure{kExitUsage, QStringLiteral("--encoding takes sjis, utf-8 or auto, not '%1'").arg(v)};
  }
  request.stats = parser.isSet(stats);
  if (parser.isSet(output)) request.output = parser.value(output);
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1)
    return Failure{kExitUsage, QStringLiteral("one FILE at most, but '%1' follows '%2'").arg(files[1], files[0])};
  if (!files.isEmpty()) request.input = files[0];
  return std::nullopt;
}

std::optional<std::string> ReadStandardInput(std::string& error) {
  std::string bytes;
  char chunk[64 * 1024];
  std::size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) bytes.append(chunk, n);
  if (std::ferror(stdin)) {
    error = std::strerror(errno);
    return std::nullopt;
  }
  return bytes;
}

// Turns text read in `encoding` into the engine's Shift-JIS bytes.
std::optional<Failure> ToEngineBytes(std::string& bytes, bool utf8, const QString& name) {
  if (!utf8) return std::nullopt;
  if (!IsValidUtf8(bytes))
    return Failure{kExitFailure, QStringLiteral("%1: not valid UTF-8 (try --encoding=sjis)").arg(name)};
  Unmappable bad;
  auto converted = ToShiftJis(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())), &bad);
  if (!converted)
    return Failure{kExitFailure, QStringLiteral("%1: %2 cannot be held in Shift-JIS").arg(name, bad.Describe())};
  bytes = std::move(*converted);
  return std::nullopt;
}

std::string FromEngineBytes(std::string_view bytes, bool utf8) {
  if (!utf8) return std::string(bytes);
  return FromShiftJis(bytes).toStdString();
}

// Writes the result where it goes; a failure names the target.
std::optional<Failure> WriteResult(const Request& request, std::string_view bytes) {
  if (request.output) {
    const std::string error = WriteFileAtomically(FileName(*request.output), bytes);
    if (!error.empty()) return Failure{kExitFailure, QString::fromLocal8Bit(error.c_str())};
    return std::nullopt;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
  const bool flushed = std::fflush(stdout) == 0;
  const int err = errno;
  const bool closed = std::fclose(stdout) == 0;
  if (!written || !flushed || !closed)
    return Failure{kExitFailure, QStringLiteral("standard output: %1").arg(QString::fromLocal8Bit(std::strerror(err ? err : errno)))};
  return std::nullopt;
}

int Run(const QStringList& arguments) {
  Request request;
  if (auto failure = ParseCommandLine(arguments, request)) {
    if (!failure->message.isEmpty()) PrintError(failure->message);
    return failure->code;
  }

  std::string error;
  std::optional<std::string> input = request.input == u"-"
                                         ? ReadStandardInput(error)
                                         : ReadFileBytes(FileName(request.input), &error);
  if (!input) {
    PrintError(QStringLiteral("%1: %2").arg(InputName(request), QString::fromLocal8Bit(error.c_str())));
    return kExitFailure;
  }
  const bool utf8 = request.encoding == Encoding::Utf8 ||
                    (request.encoding == Encoding::Auto && HasHighBytes(*input) && IsValidUtf8(*input));
  const bool bom = utf8 && std::string_view(*input).starts_with(kUtf8Bom);
  if (auto failure = ToEngineBytes(*input, utf8, InputName(request))) {
    PrintError(failure->message);
    return failure->code;
  }

  SourceText source;
  if (LoadSourceBytes(source, *input).too_large) {
    PrintError(QStringLiteral("%1: too large").arg(InputName(request)));
    return kExitFailure;
  }

  std::string result;
  if (request.stats) {
    result = "lines " + std::to_string(source.LineCount) + "\ndepth " +
             std::to_string(source.MaxQuoteDepth) + "\nlongest " +
             std::to_string(source.MaxLineLength) + "\n";
  } else {
    // The window's saved options stand in for every option not given here.
    StoredSettings saved;
    std::optional<std::string> saved_signature;
    if (request.settings) {
      const std::string path = request.settings->isEmpty()
                                   ? SidePathsForExecutable(QCoreApplication::applicationFilePath()).SettingsPath
                                   : FileName(*request.settings);
      LoadSettings(path, saved);
      const std::string folder = std::filesystem::path(path).parent_path().string();
      saved_signature = SignaturePathFor(FixedSidePaths(folder.empty() ? "" : folder + PathSeparator()), saved.SignatureSlot);
    }

    HeadingPrefixTable headings;
    std::string heading_text = saved.HeadingPrefixText;
    if (request.headings) {
      Unmappable bad;
      auto converted = ToShiftJis(*request.headings, &bad);
      if (!converted) {
        PrintError(QStringLiteral("--headings: %1 cannot be held in Shift-JIS").arg(bad.Describe()));
        return kExitFailure;
      }
      heading_text = std::move(*converted);
    }
    ParseHeadingPrefixes(headings, heading_text);

    FormatOptions& options = request.options;
    options.AddMarker = request.marker.value_or(saved.AddMarker);
    options.AutoParagraph = request.paragraph.value_or(saved.AutoParagraph);
    options.IndentOne = request.indent.value_or(source.MaxQuoteDepth % 2 == 0);
    options.Unwrap = request.unwrap.value_or(saved.Unwrap);
    options.LineLimit = request.limit.value_or(source.MaxLineLength);
    options.AddDate = request.date.value_or(saved.AddDate);
    options.DatePosition = request.date_position.value_or(saved.DatePosition);
    options.AddSignature = request.signature.has_value() || saved.AddSignature;

    TrailerInput trailer;
    if (request.signature) {
      trailer.SignatureFile = ReadFileBytes(FileName(*request.signature));
      if (trailer.SignatureFile) {
        if (auto failure = ToEngineBytes(*trailer.SignatureFile, utf8, *request.signature)) {
          PrintError(failure->message);
          return failure->code;
        }
      }
    } else if (options.AddSignature) {
      // The window writes its signature files in Shift-JIS, whatever the input.
      trailer.SignatureFile = ReadFileBytes(*saved_signature);
    }
    if (options.AddDate) trailer.DateText = DateText(request.today, QLocale::system());


    StringSink file;
    OutputSink sink;
    sink.mode = request.mode;
    sink.file = &file;
    Reformat(options, RunInput{source, headings, trailer, {}}, sink);
    switch (request.mode) {
      case OutputMode::File: result = file.text(); break;
      case OutputMode::Clipboard: result = sink.OutputText; break;
      case OutputMode::Preview:
        for (const std::string& line : sink.PreviewLines) result.append(line).push_back('\n');
        break;
    }
    result = FromEngineBytes(result, utf8);
    if (bom) result.insert(0, kUtf8Bom);
  }

  if (auto failure = WriteResult(request, result)) {
    PrintError(failure->message);
    return failure->code;
  }
  return kExitOk;
}

}  // namespace
}  // namespace quibel

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("quibel-format"));
  try {
    return quibel::Run(QCoreApplication::arguments());
  } catch (const std::bad_alloc&) {
    quibel::PrintError(QStringLiteral("out of memory"));
    return quibel::kExitFailure;
  }
}
