#ifndef MAIN_ENTRY_SEQUENCE_WIN_H_
#define MAIN_ENTRY_SEQUENCE_WIN_H_

namespace lite {

// The whole run of an installer process, from DLL hardening to the exit
// code. Runs once, on the main thread.
int RunEntrySequence();

}  // namespace lite

#endif  // MAIN_ENTRY_SEQUENCE_WIN_H_
