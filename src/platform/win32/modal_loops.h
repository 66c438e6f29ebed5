#pragma once
// Ends the modal loops of the calling thread that would keep the program
// from ending: an open popup menu, and the program's own modal message boxes
// and dialogs, however they were opened. Log-off and Exit call it before the
// shutdown, so no loop is left running over windows that are gone.

namespace vellumar::win32 {

void EndModalLoops();

}  // namespace vellumar::win32
