// Owners for GDI objects (fonts, brushes, bitmaps, regions) and memory DCs.
#ifndef UI_LAYOUT_SCOPED_GDI_OBJECT_WIN_H_
#define UI_LAYOUT_SCOPED_GDI_OBJECT_WIN_H_

#include <windows.h>

#include "base/scoped_handle_win.h"

namespace lite {

template <typename T>
struct GdiObjectTraits {
  static T Invalid() { return nullptr; }
  static bool IsValid(T object) { return object != nullptr; }
  static void Close(T object) { DeleteObject(object); }
};
using ScopedFont = ScopedGeneric<GdiObjectTraits<HFONT>>;
using ScopedBrush = ScopedGeneric<GdiObjectTraits<HBRUSH>>;
using ScopedBitmap = ScopedGeneric<GdiObjectTraits<HBITMAP>>;
using ScopedRegion = ScopedGeneric<GdiObjectTraits<HRGN>>;

struct MemoryDcTraits {
  static HDC Invalid() { return nullptr; }
  static bool IsValid(HDC dc) { return dc != nullptr; }
  static void Close(HDC dc) { DeleteDC(dc); }
};
using ScopedMemoryDc = ScopedGeneric<MemoryDcTraits>;

// Selects an object into a DC for the scope and puts the old one back.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
  ~ScopedSelectObject() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The screen's DC for the scope.
class ScopedScreenDc {
 public:
  ScopedScreenDc() : dc_(GetDC(nullptr)) {}
  ScopedScreenDc(const ScopedScreenDc&) = delete;
  ScopedScreenDc& operator=(const ScopedScreenDc&) = delete;
  ~ScopedScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace lite

#endif  // UI_LAYOUT_SCOPED_GDI_OBJECT_WIN_H_
