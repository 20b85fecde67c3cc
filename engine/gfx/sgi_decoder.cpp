// SGI RGB: run-length encoded pictures with one byte per channel and one to
// four channels. Verbatim storage and two-byte channels are refused.
#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/gfx/image.h"
#include "engine/gfx/image_decoder_util.h"

using namespace decoder_util;

namespace {

// Decodes one run-length row of one channel into `out` (xsize pixels apart
// by `stride` bytes). Runs past the row's end are cut there.
void DecodeRow(const uint8_t* in, size_t inSize, uint8_t* out, int32_t xsize, int32_t stride) {
  size_t i = 0;
  int32_t x = 0;
  while (i < inSize) {
    const uint8_t b = in[i++];
    const int count = b & 0x7F;
    if (count == 0) return;
    if (b & 0x80) {
      for (int k = 0; k < count && i < inSize; ++k, ++i)
        if (x < xsize) out[static_cast<size_t>(x++) * stride] = in[i];
    } else {
      if (i >= inSize) return;
      const uint8_t value = in[i++];
      for (int k = 0; k < count && x < xsize; ++k) out[static_cast<size_t>(x++) * stride] = value;
    }
  }
}

bool ReadTable(IVekFileBase& file, std::vector<uint32_t>& table, size_t entries) {
  std::vector<uint8_t> raw(entries * 4);
  if (file.Read(raw.data(), static_cast<int32_t>(raw.size())) != static_cast<int32_t>(raw.size())) return false;
  table.resize(entries);
  for (size_t i = 0; i < entries; ++i) table[i] = BE32(raw.data() + i * 4);
  return true;
}

}  // namespace

bool ReadSGI(IVekFileBase& file, CRefCountPtrT<Image>& image) {
  image.Reset();
  uint8_t h[512];
  if (file.Read(h, 512) != 512 || BE16(h) != 474) return false;
  const int storage = h[2];
  const int bytesPerChannel = h[3];
  const int dimension = BE16(h + 4);
  const int32_t xsize = BE16(h + 6);
  int32_t ysize = BE16(h + 8);
  int32_t zsize = BE16(h + 10);
  if (bytesPerChannel != 1) return false;
  switch (dimension) {
    case 1: ysize = 1; zsize = 1; break;
    case 2: zsize = 1; break;
    case 3: break;
    default: return false;
  }
  // zsize 2 is luminance with alpha; more than four channels are refused.
  if (xsize == 0 || ysize == 0 || zsize < 1 || zsize > 4) return false;
  if (storage == 0) return false;  // verbatim storage is not decoded
  if (!AcceptImageSize(xsize, ysize, zsize)) return false;

  const size_t entries = static_cast<size_t>(ysize) * zsize;
  // The two offset tables must be there before the picture is allocated.
  if (storage == 1 && Remaining(file) < int64_t(entries) * 8) return false;
  if (!CreateImage(image, xsize, ysize, zsize)) return false;
  std::memset(image->data, 0, static_cast<size_t>(image->dataSize));
  if (storage != 1) return true;  // unknown storage: a black picture

  std::vector<uint32_t> starts, lengths;
  if (!file.Seek(512, 0) || !ReadTable(file, starts, entries) || !ReadTable(file, lengths, entries)) {
    image.Reset();
    return false;
  }
  const int64_t fileSize = file.Size();
  std::vector<uint8_t> row;
  for (int32_t y = 0; y < ysize; ++y) {
    for (int32_t k = 0; k < zsize; ++k) {
      const size_t index = static_cast<size_t>(k) * ysize + y;
      const int64_t start = starts[index];
      const int64_t length = lengths[index];
      if (start + length > fileSize || start > INT32_MAX || !file.Seek(static_cast<int32_t>(start), 0)) {
        image.Reset();
        return false;
      }
      row.resize(static_cast<size_t>(length));
      if (length && file.Read(row.data(), static_cast<int32_t>(length)) != length) {
        image.Reset();
        return false;
      }
      uint8_t* out = image->data + static_cast<size_t>(y) * zsize * xsize + k;
      DecodeRow(row.data(), row.size(), out, xsize, zsize);
    }
  }
  return true;
}
