#include "distribution/resource_bytes_win.h"

#include "base/wide_string_win.h"

namespace lite {

std::string_view LoadBinResource(HMODULE module, const wchar_t* name) {
  HRSRC info = FindResourceW(module, name, L"BIN");
  if (!info) return std::string_view();
  // Resource memory is part of the mapped image: nothing to free.
  HGLOBAL loaded = LoadResource(module, info);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, info);
  if (!data || size == 0) return std::string_view();
  return std::string_view(static_cast<const char*>(data), size);
}

std::string_view LoadBinResource(HMODULE module, int id) {
  return LoadBinResource(module, MAKEINTRESOURCEW(id));
}

std::string_view LoadBinResource(HMODULE module, const std::u16string& name) {
  return LoadBinResource(module, AsWide(name));
}

}  // namespace lite
