#include "engine/byte_sink.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace quibel {
namespace {

namespace fs = std::filesystem;

// Link chains longer than this are taken as a loop, as the kernel does.
constexpr int kMaxLinkHops = 40;

std::string Reason(int err) { return std::strerror(err); }

// Follows symbolic links at `path` to the file they finally name (which need
// not exist yet).
std::string FollowLinks(const std::string& path) {
  fs::path p(path);
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(p, ec))) break;
    fs::path next = fs::read_symlink(p, ec);
    if (ec) break;
    p = next.is_absolute() ? next : p.parent_path() / next;
  }
  return p.string();
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

AtomicFileSink::AtomicFileSink(std::string path)
    : path_(std::move(path)), target_(FollowLinks(path_)) {
  struct stat st {};
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    Fail(path_ + ": " + Reason(EISDIR));
    return;
  }
  // Renaming over a file needs only the folder's write permission; a file
  // its owner made read-only must stay as it is all the same.
  if (exists && ::access(target_.c_str(), W_OK) != 0) {
    Fail(path_ + ": " + Reason(errno));
    return;
  }
  if (exists && !S_ISREG(st.st_mode)) {
    // A device or a pipe (/dev/stdout, a FIFO) is written where it stands:
    // renaming over it would replace the node by a plain file.
    file_ = std::fopen(target_.c_str(), "wb");
    if (file_ == nullptr) Fail(path_ + ": " + Reason(errno));
    return;
  }
  const fs::path target(target_);
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::string pattern =
      (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    Fail(path_ + ": " + Reason(errno));
    return;
  }
  temp_ = pattern;
  const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
  if (::fchmod(fd, mode) != 0) {
    // Keeps the private mode mkstemp gave; the bytes are what matters.
  }
  if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
    // Only a privileged process can give the file back to its owner.
    [[maybe_unused]] const int ignored = ::fchown(fd, st.st_uid, st.st_gid);
  }
  file_ = ::fdopen(fd, "wb");
  if (file_ == nullptr) {
    Fail(path_ + ": " + Reason(errno));
    ::close(fd);
    Discard();
  }
}

AtomicFileSink::~AtomicFileSink() {
  if (!closed_) {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    Discard();
  }
}

void AtomicFileSink::Discard() {
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

void AtomicFileSink::Write(std::string_view bytes) {
  if (file_ == nullptr || !error().empty() || bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
    Fail(path_ + ": " + Reason(errno));
}

bool AtomicFileSink::Close() {
  if (closed_) return error().empty();
  closed_ = true;
  if (file_ == nullptr) return false;
  if (std::fflush(file_) != 0 || (!temp_.empty() && ::fsync(::fileno(file_)) != 0))
    Fail(path_ + ": " + Reason(errno));
  if (std::fclose(file_) != 0) Fail(path_ + ": " + Reason(errno));
  file_ = nullptr;
  if (error().empty() && !temp_.empty() && ::rename(temp_.c_str(), target_.c_str()) != 0)
    Fail(path_ + ": " + Reason(errno));
  if (error().empty()) {
    temp_.clear();
    return true;
  }
  Discard();
  return false;
}

std::string WriteFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFileSink sink(path);
  sink.Write(bytes);
  sink.Close();
  return sink.error();
}

std::optional<std::string> ReadFileBytes(const std::string& path,
                                         std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    if (error != nullptr) *error = Reason(errno);
    return std::nullopt;
  }
  std::string bytes;
  char chunk[64 * 1024];
  std::size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
  const bool failed = std::ferror(file) != 0;
  const int err = errno;
  std::fclose(file);
  if (failed) {
    if (error != nullptr) *error = Reason(err);
    return std::nullopt;
  }
  return bytes;
}

}  // namespace quibel
