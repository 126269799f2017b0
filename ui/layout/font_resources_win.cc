#include "ui/layout/font_resources_win.h"

#include "logging/system_error_win.h"

namespace lite {
namespace {

// The fonts belong to the Facetune theme, which NewIdentity builds on; the
// log lines carry its name.
constexpr char kLogFunction[] = "InstallationWindowThemeFacetune";

}  // namespace

FontResources::FontResources(HMODULE module, const std::vector<int>& ids) {
  for (int id : ids) {
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), RT_FONT);
    if (!info) {
      PLOG_FROM(ERROR, kLogFunction) << "Unable to find font id=" << id << " in resources";
      continue;
    }
    HGLOBAL loaded = LoadResource(module, info);
    void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
      PLOG_FROM(ERROR, kLogFunction) << "Unable to load font id=" << id << " from resources";
      continue;
    }
    DWORD count = 0;
    HANDLE handle = AddFontMemResourceEx(data, SizeofResource(module, info), nullptr, &count);
    if (!handle) {
      PLOG_FROM(ERROR, kLogFunction) << "Unable to add font id=" << id;
      continue;
    }
    handles_.push_back(handle);
    LOG_FROM(INFO, kLogFunction) << count << " font(s) added, id=" << id;
  }
}

FontResources::~FontResources() {
  for (HANDLE handle : handles_) RemoveFontMemResourceEx(handle);
}

}  // namespace lite
