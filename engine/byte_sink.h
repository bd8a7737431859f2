// Byte sinks: where the bytes of a file-mode run end up. A sink never throws;
// a failed write is remembered and the caller checks error() once, after
// Close().
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace quibel {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Appends bytes; after a failure further writes are ignored.
  virtual void Write(std::string_view bytes) = 0;
  // Finishes the output; true when every byte reached its place.
  virtual bool Close() = 0;
  // Empty while all is well, else what went wrong, naming the target.
  const std::string& error() const { return error_; }

 protected:
  void Fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
  }

 private:
  std::string error_;
};

// Gathers everything in memory.
class StringSink final : public ByteSink {
 public:
  void Write(std::string_view bytes) override { text_.append(bytes); }
  bool Close() override { return true; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// Replaces a file only once all of its new bytes are safely written: the
// bytes go to a temporary file beside the target, which Close() renames over
// it. A target that is no plain file (a device, a pipe) is written directly.
// A symbolic link is followed, so the file it points to is replaced and
// the link stays; the target keeps its permission bits (and owner, where the
// process may set it). Until Close() succeeds the target is untouched, and a
// sink that is destroyed without Close() removes its temporary file.
class AtomicFileSink final : public ByteSink {
 public:
  explicit AtomicFileSink(std::string path);
  ~AtomicFileSink() override;
  AtomicFileSink(const AtomicFileSink&) = delete;
  AtomicFileSink& operator=(const AtomicFileSink&) = delete;

  // False when no temporary file could be made; error() says why.
  bool is_open() const { return file_ != nullptr; }
  void Write(std::string_view bytes) override;
  bool Close() override;
  // The file that Close() replaces, after links were followed.
  const std::string& target() const { return target_; }

 private:
  void Discard();

  std::string path_;      // as the caller named it
  std::string target_;    // path_ with symbolic links followed
  std::string temp_;      // the temporary file beside target_
  std::FILE* file_ = nullptr;
  bool closed_ = false;
};

// Writes everything to `path` through an AtomicFileSink; empty on success,
// else the reason.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);

// Reads a whole file as raw bytes; nothing when it cannot be opened or read
// to its end, with the reason in `error` when one is given.
std::optional<std::string> ReadFileBytes(const std::string& path,
                                         std::string* error = nullptr);

}  // namespace quibel
