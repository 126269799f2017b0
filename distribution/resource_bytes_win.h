// Resources of type "BIN": packages and data files compiled into a module.
#ifndef DISTRIBUTION_RESOURCE_BYTES_WIN_H_
#define DISTRIBUTION_RESOURCE_BYTES_WIN_H_

#include <windows.h>

#include <string>
#include <string_view>

namespace lite {

// The bytes of resource |name| (an id through MAKEINTRESOURCEW, or a name)
// of type "BIN" in |module|, the running executable when null. Empty when
// the resource is missing. The bytes live as long as the module is loaded.
std::string_view LoadBinResource(HMODULE module, const wchar_t* name);
std::string_view LoadBinResource(HMODULE module, int id);
std::string_view LoadBinResource(HMODULE module, const std::u16string& name);

}  // namespace lite

#endif  // DISTRIBUTION_RESOURCE_BYTES_WIN_H_
