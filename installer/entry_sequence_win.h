#ifndef INSTALLER_ENTRY_SEQUENCE_WIN_H_
#define INSTALLER_ENTRY_SEQUENCE_WIN_H_

namespace lite {

// The whole run of an installer process, from DLL hardening to the exit
// code. Runs once, on the main thread.
int RunEntrySequence();

}  // namespace lite

#endif  // INSTALLER_ENTRY_SEQUENCE_WIN_H_
