// Windows and OS/2 bitmaps: 1, 4, 8, 16 (5-5-5), 24 and 32 bits per pixel,
// plain (rows padded to 4 bytes, bottom-up or top-down) or RLE8 / RLE4.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/image/image.h"
#include "engine/image/image_decoder_util.h"

using namespace decoder_util;

namespace {

enum Compression { kPlain = 0, kRle8 = 1, kRle4 = 2 };

struct Header {
  int64_t width = 0;
  int64_t height = 0;  // negative for a top-down bitmap
  int bits = 0;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  int paletteEntryBytes = 4;
};

bool ReadHeader(IVekFileBase& file, Header& out) {
  uint8_t b[64];
  if (file.Read(b, 4) != 4) return false;
  const uint32_t size = ReadLE32(b);
  if (size == 12) {  // OS/2 core header
    if (file.Read(b + 4, 8) != 8) return false;
    out.width = ReadLE16(b + 4);
    out.height = ReadLE16(b + 6);
    out.bits = ReadLE16(b + 10);
    out.paletteEntryBytes = 3;
    return true;
  }
  if (size < 40 || size > 1024) return false;
  if (file.Read(b + 4, 36) != 36) return false;
  out.width = static_cast<int32_t>(ReadLE32(b + 4));
  out.height = static_cast<int32_t>(ReadLE32(b + 8));
  out.bits = ReadLE16(b + 14);
  out.compression = ReadLE32(b + 16);
  out.colorsUsed = ReadLE32(b + 32);
  // Later header versions add fields the decoder does not need.
  return size == 40 || file.Seek(static_cast<int32_t>(size - 40), 1);
}

class Palette {
 public:
  bool Read(IVekFileBase& file, const Header& h) {
    if (h.bits > 8) return true;
    uint32_t count = 1u << h.bits;
    if (h.colorsUsed > 0 && h.colorsUsed < count) count = h.colorsUsed;
    std::vector<uint8_t> raw(count * h.paletteEntryBytes);
    if (file.Read(raw.data(), static_cast<int32_t>(raw.size())) != static_cast<int32_t>(raw.size())) return false;
    rgb.resize(count * 3);
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = raw.data() + i * h.paletteEntryBytes;
      rgb[i * 3] = e[2];
      rgb[i * 3 + 1] = e[1];
      rgb[i * 3 + 2] = e[0];
    }
    return true;
  }
  // Indices beyond the palette are black.
  void Put(unsigned index, uint8_t* out) const {
    if (index * 3 + 3 <= rgb.size()) {
      std::copy_n(rgb.data() + index * 3, 3, out);
    } else {
      out[0] = out[1] = out[2] = 0;
    }
  }

 private:
  std::vector<uint8_t> rgb;
};

void ConvertRow(const uint8_t* in, uint8_t* out, int32_t width, int bits, int components, const Palette& palette) {
  for (int32_t x = 0; x < width; ++x) {
    uint8_t* px = out + static_cast<size_t>(x) * components;
    switch (bits) {
      case 1: palette.Put((in[x >> 3] >> (7 - (x & 7))) & 1, px); break;
      case 4: palette.Put((x & 1) ? in[x >> 1] & 15 : in[x >> 1] >> 4, px); break;
      case 8: palette.Put(in[x], px); break;
      case 16: {
        const unsigned v = ReadLE16(in + x * 2);
        px[0] = static_cast<uint8_t>(((v >> 10) & 31) << 3);
        px[1] = static_cast<uint8_t>(((v >> 5) & 31) << 3);
        px[2] = static_cast<uint8_t>((v & 31) << 3);
        break;
      }
      default: {  // 24 and 32: blue, green, red[, alpha]
        const uint8_t* p = in + static_cast<size_t>(x) * (bits / 8);
        px[0] = p[2];
        px[1] = p[1];
        px[2] = p[0];
        if (components == 4) px[3] = p[3];
      }
    }
  }
}

bool DecodePlain(IVekFileBase& file, Image& image, const Header& h, const Palette& palette) {
  const size_t rowBytes = ((static_cast<size_t>(image.width) * h.bits + 31) / 32) * 4;
  std::vector<uint8_t> row(rowBytes);
  const bool topDown = h.height < 0;
  for (int32_t r = 0; r < image.height; ++r) {
    if (file.Read(row.data(), static_cast<int32_t>(rowBytes)) != static_cast<int32_t>(rowBytes)) return false;
    const int32_t y = topDown ? image.height - 1 - r : r;
    ConvertRow(row.data(), image.data + static_cast<size_t>(y) * image.width * image.components, image.width,
               h.bits, image.components, palette);
  }
  return true;
}

// RLE8 and RLE4. Pixels that fall outside the picture (a run past the end
// of a row, a delta past the last row) are dropped; untouched pixels stay
// black. The stream must reach the end-of-bitmap escape or the last row.
bool DecodeRunLength(IVekFileBase& file, Image& image, const Header& h, const Palette& palette) {
  std::memset(image.data, 0, static_cast<size_t>(image.dataSize));
  const bool four = h.compression == kRle4;
  int64_t x = 0, y = 0;
  auto put = [&](unsigned index) {
    if (x < image.width && y < image.height)
      palette.Put(index, image.data + (static_cast<size_t>(y) * image.width + x) * image.components);
    ++x;
  };
  uint8_t pair[2];
  uint8_t absolute[256];
  while (y < image.height) {
    if (file.Read(pair, 2) != 2) return false;
    if (pair[0] > 0) {
      for (int i = 0; i < pair[0]; ++i) put(four ? ((i & 1) ? pair[1] & 15 : pair[1] >> 4) : pair[1]);
      continue;
    }
    switch (pair[1]) {
      case 0: x = 0; ++y; break;   // end of line
      case 1: return true;         // end of bitmap
      case 2: {                    // delta
        uint8_t d[2];
        if (file.Read(d, 2) != 2) return false;
        x += d[0];
        y += d[1];
        break;
      }
      default: {  // absolute run, padded to an even number of bytes
        const int count = pair[1];
        const int bytes = four ? (count + 1) / 2 : count;
        const int padded = bytes + (bytes & 1);
        if (file.Read(absolute, padded) != padded) return false;
        for (int i = 0; i < count; ++i)
          put(four ? ((i & 1) ? absolute[i >> 1] & 15 : absolute[i >> 1] >> 4) : absolute[i]);
      }
    }
  }
  return true;
}

}  // namespace

bool ReadBMP(IVekFileBase& file, CRefCountPtrT<Image>& image) {
  image.Reset();
  uint8_t fh[14];
  if (file.Read(fh, 14) != 14 || fh[0] != 'B' || fh[1] != 'M') return false;
  const uint32_t dataOffset = ReadLE32(fh + 10);

  Header h;
  if (!ReadHeader(file, h)) return false;
  const bool knownBits = h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32;
  const bool knownCompression = h.compression == kPlain || (h.compression == kRle8 && h.bits == 8) ||
                                (h.compression == kRle4 && h.bits == 4);
  if (!knownBits || !knownCompression) return false;
  // Run-length bitmaps are always bottom-up.
  if (h.height < 0 && h.compression != kPlain) return false;
  const int64_t width = h.width;
  const int64_t height = std::abs(h.height);
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return false;
  const int32_t components = h.bits == 32 ? 4 : 3;
  if (!AcceptImageSize(static_cast<int32_t>(width), static_cast<int32_t>(height), components)) return false;

  Palette palette;
  if (!palette.Read(file, h)) return false;
  if (dataOffset > static_cast<uint32_t>(file.Size())) return false;
  if (h.compression == kPlain) {
    const int64_t rowBytes = ((width * h.bits + 31) / 32) * 4;
    if (int64_t{file.Size()} - dataOffset < rowBytes * height) return false;
  }
  if (!CreateImage(image, static_cast<int32_t>(width), static_cast<int32_t>(height), components)) return false;
  if (!file.Seek(static_cast<int32_t>(dataOffset), 0)) {
    image.Reset();
    return false;
  }
  const bool ok = h.compression == kPlain ? DecodePlain(file, *image, h, palette)
                                          : DecodeRunLength(file, *image, h, palette);
  if (!ok) image.Reset();
  return ok;
}
