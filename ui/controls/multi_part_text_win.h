// The licence text: one child window per laid-out part, plain parts as
// owner-drawn statics and link parts as owner-drawn buttons that all act as
// the same link.
#ifndef UI_CONTROLS_MULTI_PART_TEXT_WIN_H_
#define UI_CONTROLS_MULTI_PART_TEXT_WIN_H_

#include <windows.h>

#include <memory>
#include <string_view>
#include <vector>

#include "ui/controls/accessible_proxy_win.h"

namespace lite {

struct MultiPartTextStyle {
  HFONT font = nullptr;
  HFONT link_font = nullptr;  // the link parts' font; |font| when null
  bool centre_lines = false;
  int line_spacing = 0;  // screen pixels between lines
  int plain_id = 0;
  int link_id = 0;
};

class MultiPartText {
 public:
  // Lays |text| ("((link))" markup) out in |rect| of |parent| and creates its
  // windows. The first link part is named |link_name| for screen readers.
  static std::unique_ptr<MultiPartText> Create(HWND parent, const RECT& rect,
                                               std::wstring_view text,
                                               const MultiPartTextStyle& style,
                                               std::wstring_view link_name);
  MultiPartText(const MultiPartText&) = delete;
  MultiPartText& operator=(const MultiPartText&) = delete;
  ~MultiPartText();

  const std::vector<HWND>& windows() const { return windows_; }
  // The link parts, in order.
  std::vector<HWND> LinkWindows() const;
  // Lines the text took.
  int line_count() const { return line_count_; }

 private:
  MultiPartText() = default;

  std::vector<HWND> windows_;
  int link_id_ = 0;
  int line_count_ = 0;
  std::unique_ptr<AccessibleProxy, AccessibleProxyDeleter> link_accessible_;
};

}  // namespace lite

#endif  // UI_CONTROLS_MULTI_PART_TEXT_WIN_H_
