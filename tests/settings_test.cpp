#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/settings_file.h"
#include "settings/side_files.h"
#include "test_util.h"

namespace quibel {
namespace {

using test::Ints;

struct PathCase {
  int line;
  std::string executable;
  char separator;
  std::string settings, signature2;
};

TEST(SidePaths, FollowTheExecutableOrFallBackToTheRootFolder) {
  const PathCase cases[] = {
      {__LINE__, R"(C:\TOOLS\REPLY.EXE)", '\\', R"(C:\TOOLS\REPLY.CFG)", R"(C:\TOOLS\REPLY.SG2)"},
      {__LINE__, R"(c:\tools\reply.exe)", '\\', R"(c:\tools\reply.CFG)", R"(c:\tools\reply.SG2)"},
      {__LINE__, R"(C:\TOOLS\REPLY)", '\\', R"(\QUIBEL.CFG)", R"(\QUIBEL.SG2)"},
      {__LINE__, R"(C:\TOOLS\REPLY.EXEC)", '\\', R"(\QUIBEL.CFG)", R"(\QUIBEL.SG2)"},
      {__LINE__, R"(.EXE)", '\\', R"(\QUIBEL.CFG)", R"(\QUIBEL.SG2)"},
      {__LINE__, "/opt/tools/reply.exe", '/', "/opt/tools/reply.CFG", "/opt/tools/reply.SG2"},
      {__LINE__, "/usr/bin/quibel", '/', "/home/u/.config/quibel/QUIBEL.CFG",
       "/home/u/.config/quibel/QUIBEL.SG2"},
      // A dot in a folder's name is no extension of the file's.
      {__LINE__, "/a.b/c", '/', "/home/u/.config/quibel/QUIBEL.CFG", "/home/u/.config/quibel/QUIBEL.SG2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string root = c.separator == '\\' ? "\\" : "/home/u/.config/quibel/";
    const SidePaths paths = DeriveSidePaths(c.executable, c.separator, root);
    EXPECT_EQ(paths.SettingsPath, c.settings);
    EXPECT_EQ(paths.SignaturePath2, c.signature2);
    EXPECT_EQ(paths.SignaturePath1.substr(paths.SignaturePath1.size() - 3), "SGN");
    EXPECT_EQ(paths.DummyPath.substr(paths.DummyPath.size() - 3), "DMY");
  }
}

TEST(SidePaths, FixedOutputFileGoesBesideTheSource) {
  const struct {
    int line;
    std::string source;
    char separator;
    std::string output;
  } cases[] = {
      {__LINE__, R"(C:\mail\in\reply.txt)", '\\', R"(C:\mail\in\RES_OUT.TXT)"},
      {__LINE__, R"(C:\reply.txt)", '\\', R"(C:\RES_OUT.TXT)"},
      {__LINE__, "reply.txt", '\\', R"(\RES_OUT.TXT)"},
      {__LINE__, R"(C:\TOOLS\REPLY.DMY)", '\\', R"(C:\TOOLS\RES_OUT.TXT)"},
      {__LINE__, "/mail/in/reply.txt", '/', "/mail/in/RES_OUT.TXT"},
      {__LINE__, "/reply.txt", '/', "/RES_OUT.TXT"},
      {__LINE__, "reply.txt", '/', "/RES_OUT.TXT"},
      // The backslash of a double-byte name is no separator on Linux.
      {__LINE__, "/mail/\x95\x5c.txt", '/', "/mail/RES_OUT.TXT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(MakeFixedOutputPath(c.source, c.separator), c.output);
  }
  const SidePaths paths = DeriveSidePaths("/x/q.exe", '/', "/");
  EXPECT_EQ(SignaturePathFor(paths, 0), "/x/q.SGN");
  EXPECT_EQ(SignaturePathFor(paths, 1), "/x/q.SG2");
  EXPECT_EQ(SignaturePathFor(paths, -3), "/x/q.SG2");
}

TEST(SettingsFile, DesignDefaultsWriteTheKnown46Bytes) {
  const std::string bytes = SerializeSettings(StoredSettings{});
  EXPECT_EQ(bytes, Ints({131, 0, 0, 1, 1, 1, 0, 0, 0}) + "--\x81\x5E\x81\x7C\x81\x79\x81\x73");
  EXPECT_EQ(bytes.size(), 46u);
}

TEST(SettingsFile, ReadsBothTagsAndIgnoresWhatIsNoSettingsFile) {
  StoredSettings changed;
  changed.DatePosition = 5;
  changed.SignatureSlot = 1;
  changed.AddMarker = false;
  changed.Unwrap = true;
  changed.HeadingPrefixText = "##";
  const struct {
    int line;
    std::string bytes;
    bool read;
    StoredSettings expected;
  } cases[] = {
      {__LINE__, Ints({131, 5, 1, 0, 7, 1, -1, 0, 0}) + "##", true, changed},
      {__LINE__, Ints({131, -7, 1, 0, 1, 1, 1, 0, 0}) + "##",
       true, [&] { auto s = changed; s.DatePosition = -7; return s; }()},
      // The older layout: no date position, no slot.
      {__LINE__, Ints({126, 0, 1, 1, 1, 0, 0}) + "##", true,
       [] { StoredSettings s; s.AddMarker = false; s.Unwrap = true; s.HeadingPrefixText = "##"; return s; }()},
      // Not a settings file: nothing changes.
      {__LINE__, Ints({0, 5, 1}), false, StoredSettings{}},
      {__LINE__, Ints({127}), false, StoredSettings{}},
      {__LINE__, std::string("\x83\0\0", 3), false, StoredSettings{}},
      // Ends right after the flags: no heading prefixes.
      {__LINE__, Ints({131, 0, 0, 1, 1, 1, 0, 0, 0}), true,
       [] { StoredSettings s; s.HeadingPrefixText.clear(); return s; }()},
      // Ends inside the flags: what is missing keeps its value, no text.
      {__LINE__, Ints({131, 1, 1, 0, 0}) + "\x01\x00", true,
       [] { StoredSettings s; s.DatePosition = 1; s.SignatureSlot = 1; s.AddMarker = false;
            s.AutoParagraph = false; s.HeadingPrefixText.clear(); return s; }()},
      // The text ends at its first zero byte.
      {__LINE__, Ints({131, 0, 0, 1, 1, 1, 0, 0, 0}) + std::string("ab\0cd", 5), true,
       [] { StoredSettings s; s.HeadingPrefixText = "ab"; return s; }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    StoredSettings record;
    EXPECT_EQ(ParseSettings(c.bytes, record), c.read);
    EXPECT_EQ(record, c.expected);
  }
}

TEST(SettingsFile, TextIsCutTo399OnWritingAnd398OnReading) {
  StoredSettings record;
  record.HeadingPrefixText = std::string(500, 'x');
  const std::string bytes = SerializeSettings(record);
  EXPECT_EQ(bytes.size(), 36u + 399u);
  StoredSettings back;
  ASSERT_TRUE(ParseSettings(bytes, back));
  EXPECT_EQ(back.HeadingPrefixText, std::string(398, 'x'));
}

TEST(SettingsFile, RoundTripOfEveryField) {
  StoredSettings record;
  record.DatePosition = -1;
  record.SignatureSlot = 1;
  record.AddMarker = false;
  record.AutoParagraph = false;
  record.IndentOne = false;
  record.Unwrap = true;
  record.AddSignature = true;
  record.AddDate = true;
  record.HeadingPrefixText = "\x81\x79##";
  StoredSettings back;
  ASSERT_TRUE(ParseSettings(SerializeSettings(record), back));
  EXPECT_EQ(back, record);
  EXPECT_EQ(SerializeSettings(back), SerializeSettings(record));
}

class SettingsFileOnDisk : public ::testing::Test {
 protected:
  std::filesystem::path dir_ =
      std::filesystem::temp_directory_path() / ("quibel-cfg-" + std::to_string(::getpid()));
  void SetUp() override { std::filesystem::create_directories(dir_); }
  void TearDown() override {
    ::chmod(dir_.c_str(), 0755);
    std::filesystem::remove_all(dir_);
  }
  std::string Read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(SettingsFileOnDisk, AFolderThatCannotBeWrittenKeepsTheOldFile) {
  const auto path = (dir_ / "QUIBEL.CFG").string();
  StoredSettings record;
  ASSERT_EQ(SaveSettings(path, record), "");
  StoredSettings missing;
  missing.AddDate = true;
  EXPECT_FALSE(LoadSettings((dir_ / "none.cfg").string(), missing));
  EXPECT_TRUE(missing.AddDate);
  ASSERT_TRUE(LoadSettings(path, missing));
  EXPECT_EQ(missing, record);
  if (::geteuid() == 0) return;  // permission bits do not bind root
  ::chmod(dir_.c_str(), 0555);
  record.Unwrap = true;
  EXPECT_NE(SaveSettings(path, record), "");
  EXPECT_EQ(Read(path), SerializeSettings(StoredSettings{}));
}

}  // namespace
}  // namespace quibel
