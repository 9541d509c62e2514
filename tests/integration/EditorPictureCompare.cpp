// Compares two pictures of the editor, the Windows one and the Linux one, as binary PPM files:
// the share of pixels within 8 levels per channel outside the value displays (whose text two
// font rasterisers draw differently) and inside them. Exits 1 when the pictures differ in size
// or fewer than 99.5 % of the pixels outside the displays match.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "EditorLayout.h"

namespace {

constexpr int kLevels = 8;
constexpr double kRequiredShare = 0.995;

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;
};

// The next number of a PPM header, past white space and comments.
bool readNumber(std::istream& in, int& value) {
  for (;;) {
    in >> std::ws;
    if (in.peek() != '#') break;
    std::string comment;
    std::getline(in, comment);
  }
  return static_cast<bool>(in >> value);
}

bool readPpm(const char* path, Picture& picture, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  if (!in || !(in >> magic) || magic != "P6") {
    error = std::string(path) + " is no binary PPM file";
    return false;
  }
  if (!readNumber(in, picture.width) || !readNumber(in, picture.height) ||
      !readNumber(in, maxValue) || maxValue != 255 || picture.width <= 0 || picture.height <= 0 ||
      picture.width > 16384 || picture.height > 16384) {
    error = std::string(path) + ": a PPM header of 8-bit pixels and a sensible size is expected";
    return false;
  }
  in.get();  // the one white-space byte before the pixels
  picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
  if (!in.read(reinterpret_cast<char*>(picture.rgb.data()),
               static_cast<std::streamsize>(picture.rgb.size()))) {
    error = std::string(path) + " is cut short";
    return false;
  }
  return true;
}

bool inDisplay(int x, int y) {
  for (int32_t row = 0; row < EditorLayout::kControlCount; ++row) {
    const ControlPlacement& place = EditorLayout::control(row);
    if (place.kind == ControlKind::display && x >= place.rect.left && x < place.rect.right &&
        y >= place.rect.top && y < place.rect.bottom)
      return true;
  }
  return false;
}

struct Tally {
  long alike = 0;
  long total = 0;
  double share() const { return total ? static_cast<double>(alike) / total : 1.0; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s WINDOWS.ppm LINUX.ppm\n", argv[0]);
    return 2;
  }
  Picture first;
  Picture second;
  std::string error;
  if (!readPpm(argv[1], first, error) || !readPpm(argv[2], second, error)) {
    std::fprintf(stderr, "error: %s\n", error.c_str());
    return 2;
  }
  if (first.width != second.width || first.height != second.height) {
    std::printf("the pictures differ in size: %d x %d and %d x %d\n", first.width, first.height,
                second.width, second.height);
    return 1;
  }
  Tally outside;
  Tally text;
  for (int y = 0; y < first.height; ++y)
    for (int x = 0; x < first.width; ++x) {
      const size_t at = (static_cast<size_t>(y) * first.width + x) * 3;
      bool alike = true;
      for (size_t c = 0; c < 3; ++c)
        alike = alike && std::abs(first.rgb[at + c] - second.rgb[at + c]) <= kLevels;
      Tally& tally = inDisplay(x, y) ? text : outside;
      tally.total++;
      tally.alike += alike;
    }
  std::printf("outside the value displays: %ld of %ld pixels within %d levels (%.3f %%)\n",
              outside.alike, outside.total, kLevels, 100.0 * outside.share());
  std::printf("inside the value displays (text): %ld of %ld pixels within %d levels (%.3f %%)\n",
              text.alike, text.total, kLevels, 100.0 * text.share());
  return outside.share() >= kRequiredShare ? 0 : 1;
}
