// SGI RGB: run-length encoded pictures with one byte per channel and one to
// four channels. Verbatim storage and two-byte channels are refused.
#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/image/image.h"
#include "engine/image/image_decoder_util.h"

using namespace decoder_util;

namespace {

// A row of xsize pixels never takes more than this many bytes of runs: a
// one-pixel run is two bytes, a literal packet one byte per pixel and its
// header. Whatever a row's length claims beyond it cannot reach the picture.
int64_t RowBytesNeeded(int32_t xsize) { return int64_t{2} * xsize; }

// Decodes one run-length row of one channel into `out` (xsize pixels apart
// by `stride` bytes). Runs past the row's end are cut there, and the row
// stops at its last pixel so that a long run table is not scanned for
// every row that points at it.
void DecodeRow(const uint8_t* in, size_t inSize, uint8_t* out, int32_t xsize, int32_t stride) {
  size_t i = 0;
  int32_t x = 0;
  while (i < inSize && x < xsize) {
    const uint8_t b = in[i++];
    const int count = b & 0x7F;
    if (count == 0) return;
    if (b & 0x80) {
      for (int k = 0; k < count && i < inSize && x < xsize; ++k, ++i)
        out[static_cast<size_t>(x++) * stride] = in[i];
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
  for (size_t i = 0; i < entries; ++i) table[i] = ReadBE32(raw.data() + i * 4);
  return true;
}

}  // namespace

bool ReadSGI(IVekFileBase& file, CRefCountPtrT<Image>& image) {
  image.Reset();
  uint8_t h[512];
  if (file.Read(h, 512) != 512 || ReadBE16(h) != 474) return false;
  const int storage = h[2];
  const int bytesPerChannel = h[3];
  const int dimension = ReadBE16(h + 4);
  const int32_t xsize = ReadBE16(h + 6);
  int32_t ysize = ReadBE16(h + 8);
  int32_t zsize = ReadBE16(h + 10);
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
  // Rows may share and overlap their runs, so the bytes they use are read
  // once, as one span, and every row decodes from memory: reading row by row
  // would read a shared run table once per row.
  const int64_t fileSize = file.Size();
  const int64_t rowCap = RowBytesNeeded(xsize);
  int64_t first = fileSize, last = 0;
  for (size_t i = 0; i < entries; ++i) {
    const int64_t start = starts[i];
    const int64_t length = lengths[i];
    if (start + length > fileSize) {
      image.Reset();
      return false;
    }
    if (length == 0) continue;
    first = std::min(first, start);
    last = std::max(last, start + std::min(length, rowCap));
  }
  std::vector<uint8_t> span;
  if (first < last) {
    span.resize(static_cast<size_t>(last - first));
    if (!file.Seek(static_cast<int32_t>(first), 0) ||
        file.Read(span.data(), static_cast<int32_t>(span.size())) != static_cast<int32_t>(span.size())) {
      image.Reset();
      return false;
    }
  }
  for (int32_t y = 0; y < ysize; ++y) {
    for (int32_t k = 0; k < zsize; ++k) {
      const size_t index = static_cast<size_t>(k) * ysize + y;
      const int64_t length = std::min<int64_t>(lengths[index], rowCap);
      if (length == 0) continue;
      uint8_t* out = image->data + static_cast<size_t>(y) * zsize * xsize + k;
      DecodeRow(span.data() + (starts[index] - first), static_cast<size_t>(length), out, xsize, zsize);
    }
  }
  return true;
}
