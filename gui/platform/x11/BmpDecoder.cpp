#include "BmpDecoder.h"

namespace gui {
namespace platform {

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kCoreHeaderBytes = 12;  // the oldest header: 16-bit sizes, 3-byte palette
constexpr size_t kInfoHeaderBytes = 40;
constexpr uint32_t kUncompressed = 0;
// Larger images are not bitmaps of an editor; the limit keeps the arithmetic far from overflow.
constexpr int64_t kMaxSide = 16384;

uint32_t read16(const uint8_t* p) { return static_cast<uint32_t>(p[0] | p[1] << 8); }
uint32_t read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint32_t opaque(uint8_t red, uint8_t green, uint8_t blue) {
  return 0xFF000000u | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 | blue;
}

}  // namespace

bool BmpDecoder::fail(const char* why) {
  reason = why;
  imageWidth = imageHeight = 0;
  return false;
}

bool BmpDecoder::parse(const uint8_t* bytes, size_t size) {
  file = bytes;
  reason = "";
  if (!bytes || size < kFileHeaderBytes + kCoreHeaderBytes) return fail("shorter than a header");
  if (bytes[0] != 'B' || bytes[1] != 'M') return fail("not a bitmap file");
  pixelOffset = read32(bytes + 10);
  const uint8_t* info = bytes + kFileHeaderBytes;
  const size_t headerBytes = read32(info);
  if (headerBytes != kCoreHeaderBytes && headerBytes < kInfoHeaderBytes)
    return fail("unknown header");
  if (headerBytes > size - kFileHeaderBytes) return fail("header cut short");

  const bool core = headerBytes == kCoreHeaderBytes;
  int64_t width = 0;
  int64_t height = 0;
  uint32_t compression = kUncompressed;
  paletteCount = 0;
  if (core) {
    width = read16(info + 4);
    height = static_cast<int16_t>(read16(info + 6));
    bitsPerPixel = read16(info + 10);
  } else {
    width = static_cast<int32_t>(read32(info + 4));
    height = static_cast<int32_t>(read32(info + 8));
    bitsPerPixel = read16(info + 14);
    compression = read32(info + 16);
    paletteCount = read32(info + 32);
  }
  if (compression != kUncompressed) return fail("compressed");
  const uint32_t bits = bitsPerPixel;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
    return fail("unsupported bits per pixel");
  topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
    return fail("size out of range");

  // The palette follows the header: 3 bytes an entry after the oldest header, else 4; a count
  // of 0 means every colour the bits can name.
  paletteEntryBytes = core ? 3 : 4;
  if (bits > 8)
    paletteCount = 0;
  else if (paletteCount == 0 || paletteCount > (1u << bits))
    paletteCount = 1u << bits;
  paletteStart = kFileHeaderBytes + headerBytes;
  if (paletteCount * paletteEntryBytes > size - paletteStart) return fail("palette cut short");

  // Rows are padded to whole 32-bit words.
  rowBytes = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  if (pixelOffset < paletteStart || pixelOffset > size ||
      rowBytes * static_cast<size_t>(height) > size - pixelOffset)
    return fail("pixels cut short");
  imageWidth = static_cast<int32_t>(width);
  imageHeight = static_cast<int32_t>(height);
  return true;
}

void BmpDecoder::decode(uint32_t* pixels, size_t strideInPixels) const {
  uint32_t palette[256] = {};
  for (size_t i = 0; i < paletteCount; ++i) {
    const uint8_t* e = file + paletteStart + i * paletteEntryBytes;
    palette[i] = opaque(e[2], e[1], e[0]);
  }
  const uint32_t bits = bitsPerPixel;
  const uint32_t indexMask = bits <= 8 ? (1u << bits) - 1 : 0;
  for (int32_t y = 0; y < imageHeight; ++y) {
    const int32_t fileRow = topDown ? y : imageHeight - 1 - y;
    const uint8_t* row = file + pixelOffset + rowBytes * static_cast<size_t>(fileRow);
    uint32_t* out = pixels + static_cast<size_t>(y) * strideInPixels;
    for (int32_t x = 0; x < imageWidth; ++x) {
      if (bits >= 24) {
        const uint8_t* p = row + static_cast<size_t>(x) * (bits / 8);
        out[x] = opaque(p[2], p[1], p[0]);
        continue;
      }
      // Indexed: the leftmost pixel sits in the highest bits of its byte. Indices past a
      // short palette name its unset entries: black.
      const size_t bitIndex = static_cast<size_t>(x) * bits;
      const uint32_t shift = 8 - bits - static_cast<uint32_t>(bitIndex % 8);
      out[x] = palette[(row[bitIndex / 8] >> shift) & indexMask] | 0xFF000000u;
    }
  }
}

}  // namespace platform
}  // namespace gui
