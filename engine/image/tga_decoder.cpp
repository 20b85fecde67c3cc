// Truevision TGA: colour-mapped, true-colour and grey pictures, plain or
// run-length encoded, either origin.
#include <algorithm>
#include <vector>

#include "engine/image/image.h"
#include "engine/image/image_decoder_util.h"

using namespace decoder_util;

namespace {

struct Layout {
  int32_t components = 0;
  int32_t bytesPerPixel = 0;
  bool mapped = false;
  bool runLength = false;
};

// Chooses the output layout; false for depths this decoder does not read.
bool ChooseLayout(int type, int depth, Layout& out) {
  out.runLength = type >= 9;
  switch (type) {
    case 1:
    case 9:
      if (depth != 8) return false;
      out.mapped = true;
      out.components = 3;
      out.bytesPerPixel = 1;
      return true;
    case 2:
    case 10:
      if (depth != 15 && depth != 16 && depth != 24 && depth != 32) return false;
      out.components = depth > 24 ? 4 : 3;
      out.bytesPerPixel = (depth + 7) / 8;
      return true;
    case 3:
    case 11:
      if (depth != 8 && depth != 16) return false;
      out.components = depth == 8 ? 1 : 2;
      out.bytesPerPixel = depth / 8;
      return true;
    default:
      return false;
  }
}

void From555(const uint8_t* p, uint8_t* rgb) {
  const unsigned v = ReadLE16(p);
  rgb[0] = static_cast<uint8_t>(((v >> 10) & 31) << 3);
  rgb[1] = static_cast<uint8_t>(((v >> 5) & 31) << 3);
  rgb[2] = static_cast<uint8_t>((v & 31) << 3);
}

class PixelConverter {
 public:
  PixelConverter(const Layout& layout, std::vector<uint8_t> rgbMap, int firstIndex)
      : layout(layout), map(std::move(rgbMap)), first(firstIndex) {}

  // One file pixel of layout.bytesPerPixel bytes to layout.components bytes.
  void Convert(const uint8_t* in, uint8_t* out) const {
    if (layout.mapped) {
      const int entry = in[0] - first;
      if (entry >= 0 && static_cast<size_t>(entry) * 3 + 3 <= map.size()) {
        std::copy_n(map.data() + entry * 3, 3, out);
      } else {
        out[0] = out[1] = out[2] = 0;  // index outside the map
      }
      return;
    }
    if (layout.components >= 3) {
      if (layout.bytesPerPixel == 2) {
        From555(in, out);
      } else {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        if (layout.components == 4) out[3] = in[3];
      }
      return;
    }
    std::copy_n(in, layout.components, out);
  }

 private:
  Layout layout;
  std::vector<uint8_t> map;  // red, green, blue per entry
  int first;
};

// Colour-map entries as red, green, blue triples. Entries of unknown size
// give an empty map, so every index reads as black.
std::vector<uint8_t> ConvertMap(const std::vector<uint8_t>& raw, int entryBits) {
  std::vector<uint8_t> rgb;
  const int bytes = (entryBits + 7) / 8;
  if (entryBits != 15 && entryBits != 16 && entryBits != 24 && entryBits != 32) return rgb;
  // As many entries as were read: a header can declare a map without one.
  const size_t entries = raw.size() / bytes;
  rgb.resize(entries * 3);
  for (size_t i = 0; i < entries; ++i) {
    const uint8_t* e = raw.data() + static_cast<size_t>(i) * bytes;
    uint8_t* out = rgb.data() + static_cast<size_t>(i) * 3;
    if (bytes == 2) {
      From555(e, out);
    } else {
      out[0] = e[2];
      out[1] = e[1];
      out[2] = e[0];
    }
  }
  return rgb;
}

bool DecodePlain(IVekFileBase& file, Image& image, const Layout& layout, const PixelConverter& convert) {
  const int64_t pixels = int64_t{image.width} * image.height;
  std::vector<uint8_t> raw(static_cast<size_t>(pixels * layout.bytesPerPixel));
  if (file.Read(raw.data(), static_cast<int32_t>(raw.size())) != static_cast<int32_t>(raw.size())) return false;
  for (int64_t i = 0; i < pixels; ++i)
    convert.Convert(raw.data() + i * layout.bytesPerPixel, image.data + i * layout.components);
  return true;
}

bool DecodeRunLength(IVekFileBase& file, Image& image, const Layout& layout, const PixelConverter& convert) {
  const int64_t pixels = int64_t{image.width} * image.height;
  const int32_t bpp = layout.bytesPerPixel;
  uint8_t packet[128 * 4];
  int64_t done = 0;
  while (done < pixels) {
    const int header = file.Getc();
    if (header < 0) return false;
    const int n = (header & 0x7F) + 1;
    const bool run = (header & 0x80) != 0;
    const int32_t want = run ? bpp : n * bpp;
    if (file.Read(packet, want) != want) return false;
    // A packet that runs past the last pixel is cut there.
    const int64_t take = std::min<int64_t>(n, pixels - done);
    for (int64_t i = 0; i < take; ++i)
      convert.Convert(packet + (run ? 0 : i * bpp), image.data + (done + i) * layout.components);
    done += take;
  }
  return true;
}

}  // namespace

bool ReadTGA(IVekFileBase& file, CRefCountPtrT<Image>& image) {
  image.Reset();
  uint8_t h[18];
  if (file.Read(h, 18) != 18) return false;
  const int idLength = h[0];
  const int mapType = h[1];
  const int type = h[2];
  const int mapFirst = ReadLE16(h + 3);
  const int mapLength = ReadLE16(h + 5);
  const int mapBits = h[7];
  const int width = ReadLE16(h + 12);
  const int height = ReadLE16(h + 14);
  const int depth = h[16];
  const int descriptor = h[17];

  Layout layout;
  if (!ChooseLayout(type, depth, layout)) return false;
  if (layout.mapped && mapType == 0) return false;
  if (idLength && !file.Seek(idLength, 1)) return false;

  std::vector<uint8_t> rawMap;
  if (mapType != 0) {
    rawMap.resize(static_cast<size_t>(mapLength) * ((mapBits + 7) / 8));
    if (!rawMap.empty() && file.Read(rawMap.data(), static_cast<int32_t>(rawMap.size())) != static_cast<int32_t>(rawMap.size()))
      return false;
  }
  const PixelConverter convert(layout, ConvertMap(rawMap, mapBits), mapFirst);
  if (!AcceptImageSize(width, height, layout.components)) return false;

  // A file too short to hold its pixels is refused before any allocation:
  // plain data needs every byte, a run-length packet of 2 or more bytes
  // covers at most 128 pixels.
  const int64_t pixels = int64_t{width} * height;
  const int64_t left = Remaining(file);
  if (layout.runLength ? left * 64 < pixels : left < pixels * layout.bytesPerPixel) return false;

  if (!CreateImage(image, width, height, layout.components)) return false;
  const bool ok = layout.runLength ? DecodeRunLength(file, *image, layout, convert)
                                   : DecodePlain(file, *image, layout, convert);
  if (!ok) {
    image.Reset();
    return false;
  }
  if (descriptor & 0x20) FlipRows(*image);
  if (descriptor & 0x10) MirrorRows(*image);
  return true;
}
