#pragma once
// The running program: the platform objects, the main window and its Win32
// frame, startup, and the message loop that everything runs on.

namespace vellumar::win32 {

// Runs the program to its end; the process exit code.
int RunVellumar();

}  // namespace vellumar::win32
