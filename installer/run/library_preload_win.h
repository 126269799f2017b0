#ifndef INSTALLER_RUN_LIBRARY_PRELOAD_WIN_H_
#define INSTALLER_RUN_LIBRARY_PRELOAD_WIN_H_

#include <windows.h>

#include <vector>

#include "base/thread_win.h"

namespace lite {

// Loads system libraries from the system folder on a thread of its own, so
// that their mapping and initialisation overlap the caller's work instead of
// waiting for their first use. Holds them until destroyed: the thread is
// joined first, then its references are dropped (a library also loaded by
// its user stays). A library that does not load is skipped.
class LibraryPreload {
 public:
  explicit LibraryPreload(std::vector<const wchar_t*> names);
  LibraryPreload(const LibraryPreload&) = delete;
  LibraryPreload& operator=(const LibraryPreload&) = delete;
  ~LibraryPreload();

  // Waits until every library has been tried; the number that loaded.
  size_t Wait();

 private:
  const std::vector<const wchar_t*> names_;
  std::vector<HMODULE> modules_;  // written by the thread until it ends
  Thread thread_;
};

}  // namespace lite

#endif  // INSTALLER_RUN_LIBRARY_PRELOAD_WIN_H_
