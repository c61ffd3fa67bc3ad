#include "platform/raster.h"

#include "platform/win32/gdi_surface.h"
#include "platform/win32/win32_api.h"

#include <objidl.h>
#include <gdiplus.h>

namespace zw {
namespace {

// GDI+'s PNG encoder.
constexpr CLSID png_encoder = {
    0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

// GDI+ is started for one encoding and shut down after it.
class GdiPlus {
 public:
  GdiPlus() {
    Gdiplus::GdiplusStartupInput input;
    ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  ~GdiPlus() {
    if (ok_) Gdiplus::GdiplusShutdown(token_);
  }
  bool ok() const { return ok_; }

 private:
  ULONG_PTR token_ = 0;
  bool ok_ = false;
};

}  // namespace
}  // namespace zw

namespace zw::raster {

void prepare() {}

std::unique_ptr<Surface> make_surface(double twips_per_pixel) {
  return std::make_unique<win32::GdiSurface>(twips_per_pixel);
}

}  // namespace zw::raster

namespace zw::win32 {

bool encode_png(const Image& image, std::string& bytes, std::string& error) {
  using namespace Gdiplus::DllExports;
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) {
    error = "the picture is empty";
    return false;
  }
  std::vector<std::uint32_t> rows(image.pixels.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    Colour c = image.pixels[i];
    rows[i] = 0xFF000000u | (static_cast<std::uint32_t>(c.r) << 16) |
              (static_cast<std::uint32_t>(c.g) << 8) | c.b;
  }
  GdiPlus gdiplus;
  if (!gdiplus.ok()) {
    error = "GDI+ cannot be started";
    return false;
  }
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (GdipCreateBitmapFromScan0(image.width, image.height, image.width * 4, PixelFormat32bppRGB,
                                reinterpret_cast<BYTE*>(rows.data()), &bitmap) != Gdiplus::Ok) {
    error = "the picture is too large";
    return false;
  }
  IStream* stream = nullptr;
  bool ok = false;
  if (CreateStreamOnHGlobal(nullptr, TRUE, &stream) == S_OK) {
    if (GdipSaveImageToStream(bitmap, stream, &png_encoder, nullptr) == Gdiplus::Ok) {
      // The stream's memory may be larger than what was written to it.
      LARGE_INTEGER zero{};
      ULARGE_INTEGER end{};
      HGLOBAL memory = nullptr;
      if (stream->Seek(zero, STREAM_SEEK_CUR, &end) == S_OK &&
          GetHGlobalFromStream(stream, &memory) == S_OK) {
        if (const void* data = GlobalLock(memory)) {
          bytes.assign(static_cast<const char*>(data), static_cast<std::size_t>(end.QuadPart));
          GlobalUnlock(memory);
          ok = true;
        }
      }
    }
    stream->Release();
  }
  GdipDisposeImage(bitmap);
  if (!ok) error = "the PNG encoder failed";
  return ok;
}

}  // namespace zw::win32
