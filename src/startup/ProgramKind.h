#pragma once

namespace tarnwick {

// Whether this program shows the window. On Windows one start-up makes two programs: the window
// program (tarnwick.exe: the window, and a batch shown in it, for the desktop) and the console
// program (tarnwick.com, which cmd.exe and PowerShell run for `tarnwick` before the .exe: it
// waits, sets the exit status and never shows a window). Each links the file that says which it
// is; on Linux the one program is the window program.
bool showsWindow();

} // namespace tarnwick
