// The state the three windows share: one instance, owned by the program
// entry (or a test) and handed to each window.
#pragma once

#include <cstdint>
#include <string>

#include "engine/reformat.h"
#include "settings/side_files.h"

namespace quibel {

struct AppState {
  SourceText source;           // the text of the last load and its numbers
  SourceLoadResult last_load;  // what that load found (cut, refused)
  OutputSink sink;             // mode, PendingLine, OutputText, preview's lines
  HeadingPrefixTable headings;
  SidePaths paths;             // the side files, derived once at start-up
  std::string SourcePath;      // DummyPath while no file is named
  std::string OutputPath;      // the file a run to a file writes
  std::int32_t SignatureSlot = 0;
  bool SourceIsClipboard = false;  // set once at a clipboard start-up
};

// The application title: task bar, message boxes.
inline constexpr char kApplicationTitle[] = "Quibel自動編集";

}  // namespace quibel
