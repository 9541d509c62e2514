// Uncompressed Windows bitmap files (1, 4, 8, 24 or 32 bits per pixel) to 32-bit pixels, as the
// system's own loader reads them: opaque, the rows top-down, whatever their order in the file.
// The header is read and checked first, wholly, so that an editor learns a bitmap's size
// without paying for its pixels, and pixels are only ever read from a file known to hold them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gui {
namespace platform {

class BmpDecoder {
 public:
  // False, with the reason in error(), for anything but a whole uncompressed bitmap file. The
  // bytes must outlive the decoder.
  bool parse(const uint8_t* bytes, size_t size);

  int32_t width() const { return imageWidth; }
  int32_t height() const { return imageHeight; }
  const char* error() const { return reason; }

  // After a successful parse: width x height pixels 0xAARRGGBB, alpha 255, the top row first,
  // rows strideInPixels apart.
  void decode(uint32_t* pixels, size_t strideInPixels) const;

 private:
  bool fail(const char* why);

  const uint8_t* file = nullptr;
  int32_t imageWidth = 0;
  int32_t imageHeight = 0;
  uint32_t bitsPerPixel = 0;
  bool topDown = false;
  size_t paletteStart = 0;
  size_t paletteEntryBytes = 0;
  size_t paletteCount = 0;
  size_t pixelOffset = 0;
  size_t rowBytes = 0;
  const char* reason = "";
};

}  // namespace platform
}  // namespace gui
