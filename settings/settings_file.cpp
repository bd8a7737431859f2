#include "settings/settings_file.h"

#include "engine/byte_sink.h"

namespace quibel {
namespace {

constexpr std::size_t kFieldBytes = 4;

// Reads the little-endian integer at the front of `bytes` and moves past it;
// false, with `bytes` untouched, when fewer than 4 bytes are left.
bool TakeInt(std::string_view& bytes, std::int32_t& value) {
  if (bytes.size() < kFieldBytes) return false;
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < kFieldBytes; ++i)
    v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[i])) << (8 * i);
  value = static_cast<std::int32_t>(v);
  bytes.remove_prefix(kFieldBytes);
  return true;
}

bool TakeFlag(std::string_view& bytes, bool& flag) {
  std::int32_t value = 0;
  if (!TakeInt(bytes, value)) return false;
  flag = value != 0;
  return true;
}

void PutInt(std::string& out, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < kFieldBytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

bool ParseSettings(std::string_view bytes, StoredSettings& record) {
  std::int32_t tag = 0;
  if (!TakeInt(bytes, tag) || (tag != kSettingsTag && tag != kOldSettingsTag)) return false;
  bool complete = true;
  if (tag == kSettingsTag) {
    complete = TakeInt(bytes, record.DatePosition) && TakeInt(bytes, record.SignatureSlot);
  }
  for (bool* flag : {&record.AddMarker, &record.AutoParagraph, &record.IndentOne, &record.Unwrap,
                     &record.AddSignature, &record.AddDate}) {
    complete = complete && TakeFlag(bytes, *flag);
  }
  if (!complete) {
    record.HeadingPrefixText.clear();
    return true;
  }
  std::string_view text = bytes.substr(0, kStoredTextReadMax);
  record.HeadingPrefixText.assign(text.substr(0, text.find('\0')));
  return true;
}

std::string SerializeSettings(const StoredSettings& record) {
  std::string out;
  PutInt(out, kSettingsTag);
  PutInt(out, record.DatePosition);
  PutInt(out, record.SignatureSlot);
  for (bool flag : {record.AddMarker, record.AutoParagraph, record.IndentOne, record.Unwrap,
                    record.AddSignature, record.AddDate}) {
    PutInt(out, flag ? 1 : 0);
  }
  out.append(std::string_view(record.HeadingPrefixText).substr(0, kStoredTextWriteMax));
  return out;
}

bool LoadSettings(const std::string& path, StoredSettings& record) {
  const auto bytes = ReadFileBytes(path);
  return bytes.has_value() && ParseSettings(*bytes, record);
}

std::string SaveSettings(const std::string& path, const StoredSettings& record) {
  return WriteFileAtomically(path, SerializeSettings(record));
}

}  // namespace quibel
