#include "ui/images/shadow_win.h"

#include "ui/images/gdiplus_win.h"
#include "ui/layout/scale.h"
#include "ui/layout/scoped_gdi_object_win.h"

namespace lite {
namespace {

// A premultiplied 32-bit surface that GDI+ draws on with alpha and that
// UpdateLayeredWindow takes as it is.
class LayeredSurface {
 public:
  LayeredSurface(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    dc_.reset(CreateCompatibleDC(nullptr));
    if (bitmap_ && dc_) old_ = SelectObject(dc_.get(), bitmap_.get());
  }
  LayeredSurface(const LayeredSurface&) = delete;
  LayeredSurface& operator=(const LayeredSurface&) = delete;
  ~LayeredSurface() {
    if (old_) SelectObject(dc_.get(), old_);
  }

  bool valid() const { return bits_ && dc_; }
  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  // GDI+ over the same pixels.
  std::unique_ptr<Gdiplus::Bitmap> Wrap() const {
    return std::make_unique<Gdiplus::Bitmap>(width_, height_, width_ * 4,
                                             PixelFormat32bppPARGB,
                                             static_cast<BYTE*>(bits_));
  }
  // Fully transparent inside |r|.
  void Clear(const RECT& r) {
    auto* pixels = static_cast<DWORD*>(bits_);
    for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, height_); ++y) {
      for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, width_); ++x) {
        pixels[y * width_ + x] = 0;
      }
    }
  }

  // Shows the surface as |window|'s picture at |origin|.
  void Apply(HWND window, POINT origin) const {
    ScopedScreenDc screen;
    SIZE size = {width_, height_};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, screen.get(), &origin, &size, dc_.get(), &source, 0, &blend,
                        ULW_ALPHA);
  }

 private:
  const int width_;
  const int height_;
  void* bits_ = nullptr;
  ScopedBitmap bitmap_;
  ScopedMemoryDc dc_;
  HGDIOBJ old_ = nullptr;
};

HWND CreateShadowWindow(HWND owner, DWORD extra_style, DWORD extra_ex_style) {
  return CreateWindowExW(WS_EX_LAYERED | extra_ex_style, L"STATIC", L"",
                         WS_POPUPWINDOW | extra_style, 0, 0, 0, 0, owner, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// The eight pictures around a window of |w| x |h| whose area starts at
// (d, d): corners of |corner| pixels, edges |edge| pixels thick.
void ComposeFrame(Gdiplus::Graphics* g, const ShadowPictures& p, int w, int h, int d, int corner,
                  int edge) {
  const int width = w + 2 * d;
  const int height = h + 2 * d;
  const int c = corner;
  const RECT corners[4] = {{0, 0, c, c},
                           {width - c, 0, width, c},
                           {width - c, height - c, width, height},
                           {0, height - c, c, height}};
  const RECT edges[4] = {{0, c, edge, height - c},
                         {c, 0, width - c, edge},
                         {width - edge, c, width, height - c},
                         {c, height - edge, width - c, height}};
  for (int i = 0; i < 4; ++i) {
    const ResourceBitmap& corner_picture = p.corners[i];
    corner_picture.DrawSeamless(
        g, corners[i], {0, 0, corner_picture.CeilWidth(), corner_picture.CeilHeight()});
    const ResourceBitmap& edge_picture = p.edges[i];
    edge_picture.DrawSeamless(g, edges[i],
                              {0, 0, edge_picture.CeilWidth(), edge_picture.CeilHeight()});
  }
}

// The background picture's own edge bands under the window's edges, so that
// they show through its rounded corners.
void CopyEdgeBands(Gdiplus::Graphics* g, const ResourceBitmap& picture, int w, int h, int d) {
  const int k = d - d / 2;
  const int W = picture.CeilWidth();
  const int H = picture.CeilHeight();
  const int W_truncated = picture.Width();
  struct Band {
    RECT dst;
    RECT src;  // x, y, width, height as a rectangle
  } const bands[] = {
      {{d, d, d + w, d + k}, {0, 0, W_truncated, k}},
      {{d, d + k, d + k, d + h - k}, {0, k, k, H - k}},
      {{d + w - k, d + k, d + w, d + h - k}, {W - k, k, W, H - k}},
      {{d, d + h - k, d + w, d + h}, {0, H - k, W_truncated, H}},
  };
  for (const Band& band : bands) picture.Draw(g, band.dst, band.src);
}

RECT ScaledMargins(const RECT& margins, double scale_factor) {
  return {Scale(scale_factor, margins.left), Scale(scale_factor, margins.top),
          Scale(scale_factor, margins.right), Scale(scale_factor, margins.bottom)};
}

SIZE WindowSize(HWND window, RECT* frame) {
  GetWindowRect(window, frame);
  return {frame->right - frame->left, frame->bottom - frame->top};
}

}  // namespace

ShadowPictures LoadShadowPictures(const ImagePair (&corners)[4], const ImagePair (&edges)[4],
                                  double scale_factor) {
  ShadowPictures pictures;
  for (int i = 0; i < 4; ++i) {
    pictures.corners[i] = ResourceBitmap::Load(corners[i].id_1x, corners[i].id_2x, scale_factor);
    pictures.edges[i] = ResourceBitmap::Load(edges[i].id_1x, edges[i].id_2x, scale_factor);
  }
  return pictures;
}

ShadowPictures LoadDialogShadowPictures(WindowsRelease windows, double scale_factor) {
  const int first = IsWin8OrLater(windows) ? 2240 : 2248;
  ImagePair corners[4];
  ImagePair edges[4];
  for (int i = 0; i < 4; ++i) {
    corners[i] = {first + i, 0};
    edges[i] = {first + 4 + i, 0};
  }
  return LoadShadowPictures(corners, edges, scale_factor);
}

POINT ComposeMainShadow(Gdiplus::Graphics* g, SIZE window, const ShadowPictures& pictures,
                        const ResourceBitmap& background, const MainShadowParams& params) {
  const int d = Scale(params.scale_factor, 8);
  const int a = Scale(params.scale_factor, params.shadow_inset);
  ComposeFrame(g, pictures, window.cx, window.cy, d, 2 * d + a, d + a);
  if (params.design == WindowDesign::kNewIdentity && IsWin8OrLater(params.windows)) {
    CopyEdgeBands(g, background, window.cx, window.cy, d);
  }
  return {d, d};
}

POINT ComposeDialogShadow(Gdiplus::Graphics* g, SIZE window, const ShadowPictures& pictures,
                          WindowsRelease windows, double scale_factor) {
  const int d = Scale(scale_factor, 8);
  const int a = Scale(scale_factor, 1);
  const int rounding = IsWin8OrLater(windows) ? Scale(scale_factor, 16) : 0;
  ComposeFrame(g, pictures, window.cx, window.cy, d, 2 * d + a + rounding, d + a);
  return {d, d};
}

POINT ComposeClassicShadow(Gdiplus::Graphics* g, SIZE window, const ResourceBitmap& background,
                           const RECT& margins, double scale_factor) {
  const RECT m = ScaledMargins(margins, scale_factor);
  const int width = window.cx + m.left + m.right;
  const int height = window.cy + m.top + m.bottom;
  // Each quadrant of the picture goes to the same corner of the shadow at
  // its own size, so a dialog of another size keeps its corners.
  const int pw = background.CeilWidth();
  const int ph = background.CeilHeight();
  const int hw = width / 2;
  const int hh = height / 2;
  const int rw = width - hw;
  const int rh = height - hh;
  background.DrawSeamless(g, {0, 0, hw, hh}, {0, 0, hw, hh});
  background.DrawSeamless(g, {hw, 0, width, hh}, {pw - rw, 0, pw, hh});
  background.DrawSeamless(g, {0, hh, hw, height}, {0, ph - rh, hw, ph});
  background.DrawSeamless(g, {hw, hh, width, height}, {pw - rw, ph - rh, pw, ph});
  return {m.left, m.top};
}

void BuildMainShadow(HWND* shadow, HWND main, const ShadowPictures& pictures,
                     const ResourceBitmap& background, const MainShadowParams& params) {
  const int d = Scale(params.scale_factor, 8);
  RECT frame;
  const SIZE size = WindowSize(main, &frame);
  if (!*shadow) {
    *shadow = CreateShadowWindow(
        main, params.design == WindowDesign::kOrigin ? WS_VISIBLE : 0, 0);
    if (!*shadow) return;
  }
  LayeredSurface surface(size.cx + 2 * d, size.cy + 2 * d);
  if (!surface.valid()) return;
  {
    std::unique_ptr<Gdiplus::Bitmap> bits = surface.Wrap();
    Gdiplus::Graphics g(bits.get());
    ComposeMainShadow(&g, size, pictures, background, params);
  }
  surface.Apply(*shadow, {frame.left - d, frame.top - d});
}

void BuildDialogShadow(HWND* shadow, HWND dialog, const ShadowPictures& pictures,
                       WindowsRelease windows, double scale_factor) {
  const int d = Scale(scale_factor, 8);
  RECT frame;
  const SIZE size = WindowSize(dialog, &frame);
  if (!*shadow) {
    *shadow = CreateShadowWindow(dialog, WS_VISIBLE, 0);
    if (!*shadow) return;
  }
  LayeredSurface surface(size.cx + 2 * d, size.cy + 2 * d);
  if (!surface.valid()) return;
  {
    std::unique_ptr<Gdiplus::Bitmap> bits = surface.Wrap();
    Gdiplus::Graphics g(bits.get());
    ComposeDialogShadow(&g, size, pictures, windows, scale_factor);
  }
  surface.Apply(*shadow, {frame.left - d, frame.top - d});
}

void BuildClassicShadow(HWND* shadow, HWND dialog, const ResourceBitmap& background,
                        const RECT& margins, double scale_factor) {
  {
    ScopedScreenDc screen;
    if (GetDeviceCaps(screen.get(), BITSPIXEL) < 32) return;
  }
  const RECT m = ScaledMargins(margins, scale_factor);
  RECT frame;
  const SIZE size = WindowSize(dialog, &frame);
  const int width = size.cx + m.left + m.right;
  const int height = size.cy + m.top + m.bottom;
  if (!*shadow) {
    *shadow = CreateShadowWindow(dialog, WS_VISIBLE | WS_CLIPSIBLINGS,
                                 WS_EX_TRANSPARENT | WS_EX_NOACTIVATE);
    if (!*shadow) return;
  }
  LayeredSurface surface(width, height);
  if (!surface.valid()) return;
  {
    std::unique_ptr<Gdiplus::Bitmap> bits = surface.Wrap();
    Gdiplus::Graphics g(bits.get());
    ComposeClassicShadow(&g, size, background, margins, scale_factor);
  }
  // The dialog paints its own area.
  surface.Clear({m.left, m.top, width - m.right, height - m.bottom});
  surface.Apply(*shadow, {frame.left - m.left, frame.top - m.top});
}

void MoveShadow(HWND shadow, HWND window, double scale_factor) {
  if (!shadow || !window) return;
  const int d = Scale(scale_factor, 8);
  RECT frame;
  GetWindowRect(window, &frame);
  SetWindowPos(shadow, nullptr, frame.left - d, frame.top - d, frame.right - frame.left + 2 * d,
               frame.bottom - frame.top + 2 * d, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lite
