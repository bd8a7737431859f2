// The filter as a user runs it: arguments, standard input, exit code.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "test_util.h"

namespace quibel {
namespace {

struct Outcome {
  int code = -1;
  std::string out;
  std::string err;
};

Outcome RunFilter(const QStringList& args, const std::string& input = {},
                  const QStringList& env = {}) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
  environment.remove(QStringLiteral("LC_ALL"));
  for (const QString& pair : env) environment.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(QUIBEL_FORMAT_PATH), args);
  process.write(input.data(), static_cast<qint64>(input.size()));
  process.closeWriteChannel();
  process.waitForFinished(30000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

std::string ReadFile(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const QString& path, const std::string& bytes) {
  std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

TEST(Filter, ExitCodesAndMessages) {
  QTemporaryDir dir;
  const QString missing = dir.filePath(QStringLiteral("none.txt"));
  struct Case {
    int line;
    QStringList args;
    std::string input;
    int code;
    std::string message;  // part of standard error
  } cases[] = {
      {__LINE__, {}, "a\n", 0, ""},
      {__LINE__, {"--bogus"}, "", 2, "bogus"},
      {__LINE__, {"a", "b"}, "", 2, "one FILE"},
      {__LINE__, {"--limit=1.5"}, "", 2, "--limit"},
      {__LINE__, {"--limit=2147483648"}, "", 2, "--limit"},
      {__LINE__, {"--limit=-2147483648"}, "a\n", 0, ""},
      {__LINE__, {"--today=2023-02-29"}, "", 2, "--today"},
      {__LINE__, {"--today=2024-2-29"}, "", 2, "--today"},
      {__LINE__, {"--mode=paper"}, "", 2, "--mode"},
      {__LINE__, {"--encoding=latin1"}, "", 2, "--encoding"},
      {__LINE__, {"--date-position=left"}, "", 2, "--date-position"},
      {__LINE__, {missing}, "", 1, "none.txt: No such file"},
      {__LINE__, {dir.path()}, "", 1, "Is a directory"},
      {__LINE__, {"--encoding=utf-8"}, "\xff\n", 1, "not valid UTF-8"},
      {__LINE__, {}, "😀 smile\n", 1, "U+1F600"},
      {__LINE__, {"--headings=😀a"}, "a\n", 1, "--headings"},
      {__LINE__, {"--help"}, "", 0, ""},
      {__LINE__, {"--version"}, "", 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const Outcome o = RunFilter(c.args, c.input);
    EXPECT_EQ(o.code, c.code) << o.err;
    EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
    if (c.code == 2) {
      EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1);
    }
  }
}

TEST(Filter, ModesGiveTheEngineBytes) {
  const std::string source = "> abc\r\n>> def\r\nghi\r\n";
  const QStringList base = {"--limit=0", "--no-paragraph", "--indent"};
  EXPECT_EQ(RunFilter(base, source).out, ">>  abc\r\n>>> def\r\n>   ghi\r\n\r\n");
  EXPECT_EQ(RunFilter(base + QStringList{"--mode=preview"}, source).out, ">>  abc\n>>> def\n>   ghi\n\n");
  EXPECT_EQ(RunFilter(base + QStringList{"--mode=clipboard"}, "a\tb\n").out, "> ab\r\n\r\n");
  // Defaults as the window presets them: marker, paragraph, indent at even
  // depth, the longest line as limit.
  EXPECT_EQ(RunFilter({}, "> abc\r\n").out, ">>  abc\r\n\r\n");
  EXPECT_EQ(RunFilter({"--stats"}, "> abc\r\n\r\nx").out, "lines 2\ndepth 1\nlongest 6\n");
}

TEST(Filter, EncodingsRoundTrip) {
  const std::string utf8 = "> 引用です\n本文\n";
  const Outcome converted = RunFilter({"--limit=0"}, utf8);
  EXPECT_EQ(converted.out, ">>  引用です\n>   本文\n\r\n");
  const std::string sjis = test::Sj(utf8);
  EXPECT_EQ(RunFilter({"--limit=0"}, sjis).out, test::Sj(">>  引用です\n>   本文\n\r\n"));
  // Forced Shift-JIS on UTF-8 bytes leaves them untouched, byte for byte.
  EXPECT_EQ(RunFilter({"--limit=0", "--encoding=sjis", "--no-marker", "--no-paragraph", "--no-indent"}, "\xE3\x81\x82\n").out,
            "\xE3\x81\x82\n\r\n");
}

TEST(Filter, DateLineInTheUsersLocale) {
  const QStringList args = {"--date", "--today=2024-03-03", "--no-marker", "--no-paragraph", "--no-indent"};
  const QStringList utf8 = args + QStringList{"--encoding=utf-8"};
  EXPECT_EQ(RunFilter(utf8, "a\n", {"LANG=ja_JP.UTF-8"}).out, "a\n\r\n2024年3月3日（日曜日）\r\n");
  EXPECT_EQ(RunFilter(utf8, "a\n", {"LANG=C"}).out, "a\n\r\n2024年3月3日（Sunday）\r\n");
  // ASCII input is taken as Shift-JIS, and so is the output.
  EXPECT_EQ(RunFilter(args, "a\n", {"LC_ALL=ja_JP.UTF-8"}).out,
            "a\n\r\n" + test::Sj("2024年3月3日（日曜日）") + "\r\n");
}

TEST(Filter, SignatureFileInTheInputsEncoding) {
  QTemporaryDir dir;
  const QString sig = dir.filePath(QStringLiteral("sig.txt"));
  WriteFile(sig, "-- \n　山田\n");
  const QStringList args = {"--signature=" + sig, "--no-marker", "--no-paragraph", "--no-indent", "--limit=0"};
  EXPECT_EQ(RunFilter(args, "本文\n").out, "本文\n\r\n-- \r\n　山田\r\n");
  EXPECT_EQ(RunFilter({"--signature=" + dir.filePath("none"), "--no-marker"}, "a\n").code, 0);
  WriteFile(sig, "😀\n");
  EXPECT_EQ(RunFilter(args, "本文\n").code, 1);
}

TEST(Filter, OutputFileIsReplacedWholeOrNotAtAll) {
  QTemporaryDir dir;
  const QString out = dir.filePath(QStringLiteral("out.txt"));
  WriteFile(out, "before");
  EXPECT_EQ(RunFilter({dir.filePath("none.txt"), "-o", out}).code, 1);
  EXPECT_EQ(ReadFile(out), "before");
  EXPECT_EQ(RunFilter({"--no-marker", "--no-paragraph", "--no-indent", "-o", out}, "a\n").code, 0);
  EXPECT_EQ(ReadFile(out), "a\n\r\n");
  EXPECT_EQ(RunFilter({"-o", dir.filePath("no/such/dir.txt")}, "a\n").code, 1);
  EXPECT_EQ(RunFilter({"-o", "/dev/full"}, "a\n").code, 1);
}

TEST(Filter, RunsTextWithoutLineFeedAndNeverCutsTheInput) {
  EXPECT_EQ(RunFilter({"--no-marker", "--no-paragraph", "--no-indent"}, "abc").out, "abc\r\n");
  std::string big;
  for (int i = 0; i < 2000; ++i) big += std::string(99, 'a') + "\n";
  const Outcome o = RunFilter({"--no-marker", "--no-paragraph", "--no-indent", "--limit=0"}, big);
  EXPECT_EQ(o.out, big + "\r\n");
}

}  // namespace
}  // namespace quibel

namespace quibel {
namespace {

using test::Ints;

TEST(FilterSettings, SavedOptionsGiveWhatTheSameFlagsGive) {
  QTemporaryDir dir;
  const std::string source = "## x\r\n> a\r\n--b\r\n";
  WriteFile(dir.filePath("QUIBEL.SG2"), "  sig\r\n");
  WriteFile(dir.filePath("QUIBEL.SGN"), "one\r\n");
  const QStringList common = {"--today=2024-03-03"};
  const struct {
    int line;
    std::string file;
    QStringList flags;
  } cases[] = {
      {__LINE__, Ints({126, 0, 1, 1, 1, 0, 0}) + "##", {"--no-marker", "--paragraph", "--unwrap", "--headings=##"}},
      {__LINE__, Ints({131, 1, 1, 1, 0, 0, 0, 1, 1}),
       {"--marker", "--no-paragraph", "--headings=", "--date", "--date-position=right",
        "--signature=" + dir.filePath("QUIBEL.SG2")}},
      {__LINE__, Ints({131, 0, 0, 1, 1, 1, 0, 1, 1}) + "--",
       {"--date", "--signature=" + dir.filePath("QUIBEL.SGN"), "--headings=--"}},
      // Ends inside the flags: the rest keep the defaults, no headings.
      {__LINE__, Ints({131, 0, 0, 0}), {"--no-marker", "--headings="}},
      // Not settings files: the design defaults.
      {__LINE__, Ints({127, 0, 0, 0, 0, 0, 0, 0, 0}), {}},
      {__LINE__, "\x83", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const QString cfg = dir.filePath(QStringLiteral("QUIBEL.CFG"));
    WriteFile(cfg, c.file);
    const Outcome saved = RunFilter(common + QStringList{"--settings=" + cfg}, source);
    const Outcome flags = RunFilter(common + c.flags, source);
    EXPECT_EQ(saved.code, 0) << saved.err;
    EXPECT_EQ(saved.out, flags.out);
  }
  // Flags given on the command line win over the file.
  WriteFile(dir.filePath("QUIBEL.CFG"), Ints({131, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(RunFilter({"--settings=" + dir.filePath("QUIBEL.CFG"), "--marker"}, source).out,
            RunFilter({"--marker", "--no-paragraph", "--headings="}, source).out);
}

TEST(FilterSettings, DefaultFileIsTheUsersOwnAndMayBeMissing) {
  QTemporaryDir dir;
  const QStringList env = {"XDG_CONFIG_HOME=" + dir.path()};
  EXPECT_EQ(RunFilter({"--settings"}, "> a\r\n", env).out, RunFilter({}, "> a\r\n").out);
  QDir(dir.path()).mkpath(QStringLiteral("quibel"));
  WriteFile(dir.filePath("quibel/QUIBEL.CFG"), Ints({126, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(RunFilter({"--settings"}, "> a\r\n", env).out, ">a\r\n\r\n");
}

}  // namespace
}  // namespace quibel
