// Names of the side files, derived from the executable's own path, and the
// path of the fixed output file, derived from the source's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quibel {

struct SidePaths {
  std::string SettingsPath;    // .CFG: the settings file
  std::string SignaturePath1;  // .SGN: the first signature
  std::string SignaturePath2;  // .SG2: the second signature
  std::string DummyPath;       // .DMY: stands in for a missing source, never opened
};

// The fixed names used when the executable has no three-letter extension.
inline constexpr std::string_view kFixedStem = "QUIBEL";
inline constexpr std::string_view kFixedOutputName = "RES_OUT.TXT";

// From the executable's full path: with a three-letter extension (as in
// REPLY.EXE) the same path with CFG, SGN, SG2 and DMY in place of it;
// otherwise the fixed names QUIBEL.* in `root_folder`, which ends in its
// separator (a backslash alone: the root of the current drive on Windows).
SidePaths DeriveSidePaths(std::string_view executable, char separator,
                          std::string_view root_folder);

// The fixed names QUIBEL.CFG, .SGN, .SG2 and .DMY in `folder`, which ends in
// its separator.
SidePaths FixedSidePaths(std::string_view folder);

// The folder of `source_path` (up to its last separator) followed by
// separator and "RES_OUT.TXT"; a path without a separator gives
// "\RES_OUT.TXT".
std::string MakeFixedOutputPath(std::string_view source_path, char separator);

// The signature file of a slot: 0 the first, every other value the second.
const std::string& SignaturePathFor(const SidePaths& paths, std::int32_t slot);

}  // namespace quibel
