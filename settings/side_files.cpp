#include "settings/side_files.h"

namespace quibel {
namespace {

SidePaths WithStem(const std::string& stem) {
  SidePaths paths;
  paths.SettingsPath = stem + "CFG";
  paths.SignaturePath1 = stem + "SGN";
  paths.SignaturePath2 = stem + "SG2";
  paths.DummyPath = stem + "DMY";
  return paths;
}

}  // namespace

SidePaths FixedSidePaths(std::string_view folder) {
  return WithStem(std::string(folder) + std::string(kFixedStem) + ".");
}

SidePaths DeriveSidePaths(std::string_view executable, char separator,
                          std::string_view root_folder) {
  const std::size_t n = executable.size();
  // A dot four bytes from the end opens a three-letter extension, provided
  // those three bytes still belong to the file name: in "/a.b/c" the dot is
  // a folder's, and overwriting "b/c" would name a file in another folder.
  const bool has_extension = n > 4 && executable[n - 4] == '.' &&
                             executable.substr(n - 3).find(separator) == std::string_view::npos;
  return has_extension ? WithStem(std::string(executable.substr(0, n - 3)))
                       : FixedSidePaths(root_folder);
}

std::string MakeFixedOutputPath(std::string_view source_path, char separator) {
  const std::size_t cut = source_path.rfind(separator);
  std::string output(cut == std::string_view::npos ? std::string_view() : source_path.substr(0, cut));
  output.push_back(separator);
  output.append(kFixedOutputName);
  return output;
}

const std::string& SignaturePathFor(const SidePaths& paths, std::int32_t slot) {
  return slot == 0 ? paths.SignaturePath1 : paths.SignaturePath2;
}

}  // namespace quibel
