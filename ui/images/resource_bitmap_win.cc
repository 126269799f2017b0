#include "ui/images/resource_bitmap_win.h"

#include <wrl/client.h>

#include <cmath>
#include <cstring>

#include "logging/system_error_win.h"
#include "ui/images/gdiplus_win.h"
#include "ui/images/image_variant.h"

namespace lite {

// GDI+ reads a stream-backed image lazily, so the stream lives as long as
// the image.
struct ResourceBitmap::Decoded {
  Microsoft::WRL::ComPtr<IStream> stream;
  std::unique_ptr<Gdiplus::Image> image;
};

namespace {

// A stream over a movable copy of |size| bytes; the stream frees the copy.
Microsoft::WRL::ComPtr<IStream> StreamOverCopy(const void* data, size_t size) {
  Microsoft::WRL::ComPtr<IStream> stream;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return stream;
  void* target = GlobalLock(block);
  if (!target) {
    GlobalFree(block);
    return stream;
  }
  std::memcpy(target, data, size);
  GlobalUnlock(block);
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    stream.Reset();
  }
  return stream;
}

// GDI+'s raw formats (ImageFormatPNG and ImageFormatJPEG of
// gdiplusimaging.h), defined here so that no GUID library is needed.
constexpr GUID kPngFormat = {0xb96b3caf, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID kJpegFormat = {0xb96b3cae, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

}  // namespace

std::shared_ptr<ResourceBitmap::Decoded> ResourceBitmap::Decode(const void* data, size_t size) {
  auto decoded = std::make_shared<Decoded>();
  decoded->stream = StreamOverCopy(data, size);
  if (!decoded->stream) return nullptr;
  // The constructor calls GdipLoadImageFromStreamICM.
  decoded->image.reset(new Gdiplus::Image(decoded->stream.Get(), TRUE));
  if (decoded->image->GetLastStatus() != Gdiplus::Ok) return nullptr;
  return decoded;
}

ResourceBitmap ResourceBitmap::Load(int id_1x, int id_2x, double scale_factor) {
  return LoadFrom(GetModuleHandleW(nullptr), id_1x, id_2x, scale_factor);
}

ResourceBitmap ResourceBitmap::LoadFrom(HMODULE module, int id_1x, int id_2x,
                                        double scale_factor) {
  const ImageVariant variant = ChooseImageVariant(id_1x, id_2x, scale_factor);
  std::shared_ptr<Decoded> decoded;
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(variant.resource_id), RT_RCDATA);
  HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = info ? SizeofResource(module, info) : 0;
  if (bytes && size) decoded = Decode(bytes, size);
  if (!decoded) {
    PLOG_FROM(ERROR, "Load") << "Failed to load a bitmap";
    return ResourceBitmap();
  }
  return ResourceBitmap(std::move(decoded), variant.scale);
}

ResourceBitmap ResourceBitmap::FromHBITMAP(HBITMAP bitmap) {
  HBITMAP copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
  if (!copy) {
    PLOG_FROM(ERROR, "ResourceBitmap") << "Failed to construct a ResourceBitmap from HBITMAP";
    return ResourceBitmap();
  }
  auto decoded = std::make_shared<Decoded>();
  // GdipCreateBitmapFromHBITMAP copies the pixels; the copy can go at once.
  decoded->image.reset(Gdiplus::Bitmap::FromHBITMAP(copy, nullptr));
  DeleteObject(copy);
  if (!decoded->image || decoded->image->GetLastStatus() != Gdiplus::Ok) {
    LOG_FROM(ERROR, "ResourceBitmap") << "Failed to construct a ResourceBitmap from HBITMAP";
    return ResourceBitmap();
  }
  return ResourceBitmap(std::move(decoded), 1.0);
}

ResourceBitmap ResourceBitmap::FromEncoded(const std::string& bytes, double scale,
                                           uint32_t width, uint32_t height) {
  if (bytes.empty() || width == 0 || height == 0) return ResourceBitmap();
  Microsoft::WRL::ComPtr<IStream> stream = StreamOverCopy(bytes.data(), bytes.size());
  if (!stream) return ResourceBitmap();
  // FALSE: GdipLoadImageFromStream, which leaves an embedded ICC profile,
  // gamma or chromaticity unapplied (GdipLoadImageFromStreamICM would
  // apply them).
  Gdiplus::Image encoded(stream.Get(), FALSE);
  if (encoded.GetLastStatus() != Gdiplus::Ok) return ResourceBitmap();
  GUID format = {};
  if (encoded.GetRawFormat(&format) != Gdiplus::Ok ||
      (format != kPngFormat && format != kJpegFormat)) {
    return ResourceBitmap();
  }
  if (encoded.GetWidth() != width || encoded.GetHeight() != height) return ResourceBitmap();
  // GDI+ decodes a stream-backed image when it is first drawn: drawing it
  // here into a bitmap of its own does the decoding now, so that the window
  // thread only copies pixels.
  auto pixels = std::make_unique<Gdiplus::Bitmap>(static_cast<INT>(width),
                                                  static_cast<INT>(height),
                                                  PixelFormat32bppPARGB);
  if (pixels->GetLastStatus() != Gdiplus::Ok) return ResourceBitmap();
  {
    Gdiplus::Graphics canvas(pixels.get());
    canvas.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    if (canvas.GetLastStatus() != Gdiplus::Ok ||
        canvas.DrawImage(&encoded, 0, 0, static_cast<INT>(width), static_cast<INT>(height)) !=
            Gdiplus::Ok) {
      return ResourceBitmap();
    }
  }
  auto decoded = std::make_shared<Decoded>();
  decoded->image = std::move(pixels);
  return ResourceBitmap(std::move(decoded), scale);
}

int ResourceBitmap::PixelWidth() const { return image_ ? image_->image->GetWidth() : 0; }
int ResourceBitmap::PixelHeight() const { return image_ ? image_->image->GetHeight() : 0; }

int ResourceBitmap::Width() const { return static_cast<int>(PixelWidth() * scale_); }
int ResourceBitmap::Height() const { return static_cast<int>(PixelHeight() * scale_); }
int ResourceBitmap::CeilWidth() const { return static_cast<int>(std::ceil(PixelWidth() * scale_)); }
int ResourceBitmap::CeilHeight() const {
  return static_cast<int>(std::ceil(PixelHeight() * scale_));
}

void ResourceBitmap::Draw(HDC dc, const RECT& dst, const RECT& src_scaled) const {
  if (!image_) return;
  Gdiplus::Graphics graphics(dc);
  Draw(&graphics, dst, src_scaled);
}

void ResourceBitmap::Draw(Gdiplus::Graphics* graphics, const RECT& dst,
                          const RECT& src_scaled) const {
  DrawPixels(graphics, dst, src_scaled.left / scale_, src_scaled.top / scale_,
             (src_scaled.right - src_scaled.left) / scale_,
             (src_scaled.bottom - src_scaled.top) / scale_);
}

void ResourceBitmap::DrawAll(HDC dc, const RECT& dst) const {
  if (!image_) return;
  Gdiplus::Graphics graphics(dc);
  DrawPixels(&graphics, dst, 0, 0, PixelWidth(), PixelHeight());
}

void ResourceBitmap::DrawSeamless(Gdiplus::Graphics* graphics, const RECT& dst,
                                  const RECT& src_scaled) const {
  const int width = dst.right - dst.left;
  const int height = dst.bottom - dst.top;
  const double x = src_scaled.left / scale_;
  const double y = src_scaled.top / scale_;
  const double source_width = (src_scaled.right - src_scaled.left) / scale_;
  const double source_height = (src_scaled.bottom - src_scaled.top) / scale_;
  if (!image_ || width <= 0 || height <= 0 || source_width <= 0 || source_height <= 0) return;
  // The source is drawn one of its pixels larger on every side and clipped
  // back to |dst|: the border rows and columns of |dst| then sample the
  // picture (or its mirror at the picture's own edge) rather than what lies
  // outside the source rectangle, which some GDI+ implementations leave
  // transparent, so that parts laid side by side show no light seam.
  const double margin_x = width / source_width;
  const double margin_y = height / source_height;
  const Gdiplus::GraphicsState state = graphics->Save();
  graphics->SetClip(Gdiplus::Rect(dst.left, dst.top, width, height), Gdiplus::CombineModeIntersect);
  DrawPixels(graphics,
             Gdiplus::RectF(static_cast<Gdiplus::REAL>(dst.left - margin_x),
                            static_cast<Gdiplus::REAL>(dst.top - margin_y),
                            static_cast<Gdiplus::REAL>(width + 2 * margin_x),
                            static_cast<Gdiplus::REAL>(height + 2 * margin_y)),
             x - 1, y - 1, source_width + 2, source_height + 2);
  graphics->Restore(state);
}

void ResourceBitmap::DrawPixels(Gdiplus::Graphics* graphics, const RECT& dst, double x,
                                double y, double width, double height) const {
  DrawPixels(graphics,
             Gdiplus::RectF(static_cast<Gdiplus::REAL>(dst.left),
                            static_cast<Gdiplus::REAL>(dst.top),
                            static_cast<Gdiplus::REAL>(dst.right - dst.left),
                            static_cast<Gdiplus::REAL>(dst.bottom - dst.top)),
             x, y, width, height);
}

void ResourceBitmap::DrawPixels(Gdiplus::Graphics* graphics, const Gdiplus::RectF& target,
                                double x, double y, double width, double height) const {
  if (!image_) return;
  // Mirrored edges keep a stretched frame of a strip from fading into its
  // neighbour or into transparency at its border.
  Gdiplus::ImageAttributes edges;
  edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
  graphics->DrawImage(image_->image.get(), target, static_cast<Gdiplus::REAL>(x),
                      static_cast<Gdiplus::REAL>(y), static_cast<Gdiplus::REAL>(width),
                      static_cast<Gdiplus::REAL>(height), Gdiplus::UnitPixel, &edges);
}

}  // namespace lite
