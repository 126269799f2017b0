#ifndef MAIN_ENTRY_SEQUENCE_WIN_H_
#define MAIN_ENTRY_SEQUENCE_WIN_H_

#include <cstdint>

#include "installer/run/preflight_win.h"

namespace lite {

// What the entry sequence asks of the machine that a test build answers
// itself.
struct EntryEnvironment {
  // Whether the disk has |bytes| free for a system- or user-level install.
  bool (*has_enough_disk_space)(bool system_level, uint64_t bytes) = &HasEnoughDiskSpace;
};

// The whole run of an installer process, from DLL hardening to the exit
// code. Runs once, on the main thread.
int RunEntrySequence(const EntryEnvironment& environment = EntryEnvironment());

}  // namespace lite

#endif  // MAIN_ENTRY_SEQUENCE_WIN_H_
