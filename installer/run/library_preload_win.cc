#include "installer/run/library_preload_win.h"

#include "base/system_library_win.h"

namespace lite {

LibraryPreload::LibraryPreload(std::vector<const wchar_t*> names) : names_(std::move(names)) {
  thread_.Start([this] {
    for (const wchar_t* name : names_) {
      if (HMODULE module = LoadSystemLibrary(name)) {
        modules_.push_back(module);
      }
    }
  });
}

LibraryPreload::~LibraryPreload() {
  Wait();
  for (HMODULE module : modules_) FreeLibrary(module);
}

size_t LibraryPreload::Wait() {
  thread_.Join();
  return modules_.size();
}

}  // namespace lite
