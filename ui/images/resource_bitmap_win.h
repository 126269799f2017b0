// A decoded picture (PNG or JPEG) with the scale it is drawn at. Copies share
// the decoded image; an empty bitmap has size 0 and draws nothing.
#ifndef UI_IMAGES_RESOURCE_BITMAP_WIN_H_
#define UI_IMAGES_RESOURCE_BITMAP_WIN_H_

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace Gdiplus {
class Graphics;
class Image;
class RectF;
}  // namespace Gdiplus

namespace lite {

class ResourceBitmap {
 public:
  ResourceBitmap() = default;

  // The 1x or 2x RT_RCDATA picture of this program's module for
  // |scale_factor| (ui/images/image_variant.h). GDI+ must be running.
  static ResourceBitmap Load(int id_1x, int id_2x, double scale_factor);
  // The same from another module (a test's resource-only library).
  static ResourceBitmap LoadFrom(HMODULE module, int id_1x, int id_2x, double scale_factor);
  // A copy of |bitmap| at scale 1; the caller keeps |bitmap|.
  static ResourceBitmap FromHBITMAP(HBITMAP bitmap);
  // Encoded picture bytes from outside the program (a downloaded slide),
  // drawn at |scale|. Decoded at once, on the calling thread, into a bitmap
  // of its own, and without applying a colour profile the picture carries;
  // empty unless GDI+ reads them as a PNG or JPEG of exactly |width| x
  // |height| (what the header check found).
  static ResourceBitmap FromEncoded(const std::string& bytes, double scale, uint32_t width,
                                    uint32_t height);

  bool empty() const { return !image_; }
  // The size in screen pixels: picture pixels x scale, truncated or rounded
  // up.
  int Width() const;
  int Height() const;
  int CeilWidth() const;
  int CeilHeight() const;
  double scale() const { return scale_; }

  // Draws the part |src_scaled| (screen pixels of this picture at its scale)
  // into |dst| (screen pixels of |dc|).
  void Draw(HDC dc, const RECT& dst, const RECT& src_scaled) const;
  // The whole picture stretched over |dst|.
  void DrawAll(HDC dc, const RECT& dst) const;
  // Draw onto a GDI+ surface, which keeps the picture's alpha (layered
  // windows).
  void Draw(Gdiplus::Graphics* graphics, const RECT& dst, const RECT& src_scaled) const;
  // As Draw, for parts laid side by side: the border rows and columns of
  // |dst| take the picture's own pixels, so no seam shows between parts.
  void DrawSeamless(Gdiplus::Graphics* graphics, const RECT& dst, const RECT& src_scaled) const;

 private:
  struct Decoded;
  ResourceBitmap(std::shared_ptr<Decoded> decoded, double scale)
      : image_(std::move(decoded)), scale_(scale) {}
  static std::shared_ptr<Decoded> Decode(const void* data, size_t size);
  int PixelWidth() const;
  int PixelHeight() const;
  // Source in picture pixels.
  void DrawPixels(Gdiplus::Graphics* graphics, const RECT& dst, double x, double y,
                  double width, double height) const;
  void DrawPixels(Gdiplus::Graphics* graphics, const Gdiplus::RectF& target, double x, double y,
                  double width, double height) const;

  std::shared_ptr<Decoded> image_;
  double scale_ = 1.0;
};

}  // namespace lite

#endif  // UI_IMAGES_RESOURCE_BITMAP_WIN_H_
