#include <windows.h>

#include "main/entry_sequence_win.h"

// The four arguments are not used: the command line is read through the
// process-wide command line, which also expands "semi-silent".
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return lite::RunEntrySequence(); }
