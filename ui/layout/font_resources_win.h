// The window's private fonts, registered from RT_FONT resources for the
// lifetime of the object. A font that cannot be registered is logged and
// left out: CreateFontW then falls back to a system face.
#ifndef UI_LAYOUT_FONT_RESOURCES_WIN_H_
#define UI_LAYOUT_FONT_RESOURCES_WIN_H_

#include <windows.h>

#include <vector>

namespace lite {

class FontResources {
 public:
  FontResources(HMODULE module, const std::vector<int>& ids);
  FontResources(const FontResources&) = delete;
  FontResources& operator=(const FontResources&) = delete;
  ~FontResources();

  size_t count() const { return handles_.size(); }

 private:
  std::vector<HANDLE> handles_;
};

}  // namespace lite

#endif  // UI_LAYOUT_FONT_RESOURCES_WIN_H_
