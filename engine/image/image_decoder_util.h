// Small helpers the hand-written decoders share.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/core/byte_order.h"
#include "engine/core/log.h"
#include "engine/image/image.h"

namespace decoder_util {

// The most pixels one picture may have, besides kMaxImageSide per side:
// 64 megapixels, 256 MB at four channels. A few header bytes can claim any
// size, so decoders check this before allocating anything that large.
constexpr int64_t kMaxImagePixels = int64_t{64} * 1024 * 1024;

inline bool WithinImageLimits(int64_t width, int64_t height) {
  return width <= kMaxImageSide && height <= kMaxImageSide && width * height <= kMaxImagePixels;
}

inline void LogImageSizeRefused(int32_t width, int32_t height, int32_t components) {
  MainLog() << "<!> " << "Image size refused (" << width << "x" << height << "x" << components << ")\n";
}

// WithinImageLimits, with the refusal logged as Image::Allocate logs it.
inline bool AcceptImageSize(int32_t width, int32_t height, int32_t components) {
  if (WithinImageLimits(width, height)) return true;
  LogImageSizeRefused(width, height, components);
  return false;
}

using byte_order::ReadBE16;
using byte_order::ReadBE32;
using byte_order::ReadLE16;
using byte_order::ReadLE32;

// Bytes between the current position and the end of the stream.
inline int64_t Remaining(IVekFileBase& file) {
  const int64_t left = int64_t{file.Size()} - file.Tell();
  return left < 0 ? 0 : left;
}

// A new image of the given layout in `image`, or false (and an empty handle)
// when the size is refused.
inline bool CreateImage(CRefCountPtrT<Image>& image, int32_t width, int32_t height, int32_t components) {
  image.Adopt(new Image());
  if (width <= 0 || height <= 0 || !image->Allocate(width, height, components)) {
    image.Reset();
    return false;
  }
  image->format = image->internalFormat = Image::FormatFor(components);
  return true;
}

// Swaps row i with row height - 1 - i.
inline void FlipRows(Image& image) {
  const size_t rowBytes = static_cast<size_t>(image.width) * image.components;
  std::vector<uint8_t> scratch(rowBytes);
  for (int32_t i = 0; i < image.height / 2; ++i) {
    uint8_t* a = image.data + rowBytes * i;
    uint8_t* b = image.data + rowBytes * (image.height - 1 - i);
    std::memcpy(scratch.data(), a, rowBytes);
    std::memcpy(a, b, rowBytes);
    std::memcpy(b, scratch.data(), rowBytes);
  }
}

// Reverses the pixels of every row.
inline void MirrorRows(Image& image) {
  const int32_t c = image.components;
  for (int32_t y = 0; y < image.height; ++y) {
    uint8_t* row = image.data + static_cast<size_t>(y) * image.width * c;
    for (int32_t j = 0; j < image.width / 2; ++j) {
      uint8_t* a = row + j * c;
      uint8_t* b = row + (image.width - 1 - j) * c;
      for (int32_t k = 0; k < c; ++k) std::swap(a[k], b[k]);
    }
  }
}

}  // namespace decoder_util
