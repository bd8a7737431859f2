// The settings file: option states, signature slot and heading text, kept
// from one start of the program to the next.
//
// Layout (signed 32-bit little-endian integers):
//   tag 131: tag, DatePosition, SignatureSlot, six flags, then the heading
//            text to the end of the file (no terminator, no length);
//   tag 126: tag, six flags, heading text (older; read, never written).
// The flags in order: AddMarker, AutoParagraph, IndentOne, Unwrap,
// AddSignature, AddDate; non-zero reads as set.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/headings.h"

namespace quibel {

inline constexpr std::int32_t kSettingsTag = 131;
inline constexpr std::int32_t kOldSettingsTag = 126;

// At most this much of the heading text is read back...
inline constexpr std::size_t kStoredTextReadMax = 398;
// ... and written: the text was copied into a field of 399 bytes and its
// terminator.
inline constexpr std::size_t kStoredTextWriteMax = 399;

// Initialised to the window's design defaults.
struct StoredSettings {
  std::int32_t DatePosition = 0;
  std::int32_t SignatureSlot = 0;
  bool AddMarker = true;
  bool AutoParagraph = true;
  bool IndentOne = true;
  bool Unwrap = false;
  bool AddSignature = false;
  bool AddDate = false;
  std::string HeadingPrefixText = std::string(kDefaultHeadingText);

  bool operator==(const StoredSettings&) const = default;
};

// Overwrites the fields of `record` that `bytes` holds; true when they carry
// tag 126 or 131. Another tag, or fewer than 4 bytes, leave `record` as it
// came. Fields missing from a file that ends inside them keep their values
// and the text becomes empty.
bool ParseSettings(std::string_view bytes, StoredSettings& record);

// The bytes of a tag-131 file for `record`.
std::string SerializeSettings(const StoredSettings& record);

// Reads the file at `path` into `record` as ParseSettings does; a missing or
// unreadable file leaves `record` unchanged and gives false.
bool LoadSettings(const std::string& path, StoredSettings& record);

// Writes `record` to `path`, replacing the old file only once the new one is
// complete; empty on success, else the reason.
std::string SaveSettings(const std::string& path, const StoredSettings& record);

}  // namespace quibel
