#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/byte_sink.h"
#include "engine/reformat.h"

namespace quibel {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
 protected:
  fs::path dir_ = fs::temp_directory_path() / ("quibel-out-" + std::to_string(::getpid()));
  void SetUp() override { fs::create_directories(dir_); }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }
};

TEST_F(AtomicFileTest, ReplacesThroughALinkAndKeepsPermissionBits) {
  Put(Path("real.txt"), "old");
  ::chmod(Path("real.txt").c_str(), 0640);
  fs::create_symlink("real.txt", Path("link.txt"));
  EXPECT_EQ(WriteFileAtomically(Path("link.txt"), "new"), "");
  EXPECT_TRUE(fs::is_symlink(Path("link.txt")));
  EXPECT_EQ(Read(Path("real.txt")), "new");
  struct stat st {};
  ::stat(Path("real.txt").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(Entries(), 2u);  // no temporary file left behind
}

TEST_F(AtomicFileTest, AFailedRunLeavesTheTargetAsItWasAndSaysWhy) {
  SourceText source;
  LoadSourceBytes(source, "a\r\n");
  HeadingPrefixTable headings;
  TrailerInput trailer;
  OutputSink sink;
  RunResult result = Reformat({}, RunInput{source, headings, trailer, Path("no/out.txt")}, sink);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("no/out.txt"), std::string::npos);
  EXPECT_EQ(Entries(), 0u);
  if (::geteuid() == 0) return;  // permission bits do not bind root
  Put(Path("out.txt"), "precious");
  ::chmod(Path("out.txt").c_str(), 0444);
  result = Reformat({}, RunInput{source, headings, trailer, Path("out.txt")}, sink);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("Permission denied"), std::string::npos);
  EXPECT_EQ(Read(Path("out.txt")), "precious");
}

TEST_F(AtomicFileTest, AFolderThatCannotBeWrittenFailsBeforeAnyByte) {
  fs::create_directories(dir_ / "sub");
  EXPECT_NE(WriteFileAtomically((dir_ / "sub").string(), "x"), "");  // a folder
  EXPECT_NE(WriteFileAtomically(Path("missing/out.txt"), "x"), "");
  if (::geteuid() == 0) return;
  Put(Path("kept.txt"), "kept");
  ::chmod(dir_.c_str(), 0555);
  EXPECT_NE(WriteFileAtomically(Path("kept.txt"), "x"), "");
  EXPECT_EQ(Read(Path("kept.txt")), "kept");
}

TEST_F(AtomicFileTest, ADeviceIsWrittenInPlaceAndAFullOneReported) {
  if (!fs::exists("/dev/full")) GTEST_SKIP();
  // A device is written where it stands, and /dev/full refuses the bytes.
  fs::create_symlink("/dev/full", Path("full"));
  EXPECT_NE(WriteFileAtomically(Path("full"), std::string(1 << 16, 'x')), "");
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST_F(AtomicFileTest, RunWritesTheWholeOutputToThePath) {
  SourceText source;
  LoadSourceBytes(source, "> a\r\n");
  HeadingPrefixTable headings;
  TrailerInput trailer;
  OutputSink sink;
  const RunResult result =
      Reformat({.AddMarker = true}, RunInput{source, headings, trailer, Path("RES_OUT.TXT")}, sink);
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_EQ(Read(Path("RES_OUT.TXT")), ">>a\r\n\r\n");
  EXPECT_EQ(sink.file, nullptr);
}

}  // namespace
}  // namespace quibel
