// On X11 a clipboard's text lives in the program that set it. After a run to
// the clipboard the window closes, so the text must be handed on.
#pragma once

namespace quibel {

// True when this program must keep serving the clipboard after its window
// closed: it still owns the clipboard on X11 and no clipboard manager runs
// to take the text over (where one runs, Qt hands the text to it on exit).
bool MustServeClipboard();

// Runs without a window until another program takes the clipboard.
void ServeClipboardUntilTaken();

}  // namespace quibel
