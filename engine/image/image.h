// Decoded pictures and the loader that recognises a file's format by its
// content. Every decoder produces 8-bit channels, rows bottom-up (the first
// row in memory is the bottom of the picture), ready for glTexImage2D.
// Portable: no platform headers (the GL upload lives in engine/gl).
#pragma once

#include <cstdint>

#include "engine/core/ref_count.h"
#include "engine/io/file.h"

// <windows.h> maps LoadImage to LoadImageW; a file that needs both includes
// <windows.h> first and calls the Win32 function by its W name.
#ifdef LoadImage
#undef LoadImage
#endif

// OpenGL's values, so that portable code can fill Image without GL headers.
namespace image_gl {
constexpr uint32_t kUnsignedByte = 0x1401;
constexpr uint32_t kRgb = 0x1907;
constexpr uint32_t kRgba = 0x1908;
constexpr uint32_t kLuminance = 0x1909;
constexpr uint32_t kLuminanceAlpha = 0x190A;
}  // namespace image_gl

// The largest picture any decoder accepts, per side (the total is capped by
// decoder_util::kMaxImagePixels).
constexpr int32_t kMaxImageSide = 16384;

enum ImageFormatCode : int32_t {
  kImageUnknown = 0,
  kImageTGA = 1,
  kImageSGI = 2,
  kImagePNG = 3,
  kImageBMP = 4,
  kImageJPG = 5,
};
const char* ImageFormatName(int32_t code);

class Image : public IRefCountPtrBase {
 public:
  ~Image() override;
  void OnCreate() override;
  void OnDestroy() override;

  // Stores the size and makes `data` hold width x height x components bytes
  // (uninitialised when it had to be reallocated). Warns about sides that are
  // not powers of two. Refuses (false, no buffer) negative sides, components
  // outside 1..4, sides above kMaxImageSide and more pixels than
  // decoder_util::kMaxImagePixels.
  virtual bool Allocate(int32_t newWidth, int32_t newHeight, int32_t newComponents);

  // The GL pixel format matching `components` (1 to 4).
  static uint32_t FormatFor(int32_t components);

  uint8_t* data = nullptr;  // 16-byte aligned
  int32_t width = 0;
  int32_t height = 0;
  int32_t components = 0;
  int32_t dataSize = 0;
  uint32_t internalFormat = 0;
  uint32_t format = 0;
  uint32_t type = image_gl::kUnsignedByte;

 private:
  void FreeData();
};

// Opens `path` (one log line: "Loading image from <path>(<format>)"
// then "...OK" or the failure's ending), detects the format and decodes.
// On success `image` holds the caller's one reference; otherwise it is empty.
bool LoadImage(const char* path, CRefCountPtrT<Image>& image);

// The middle of LoadImage for an already open stream: detects the format,
// logs "(<format>)" (and " format unknown!\n" when nothing matches) and
// decodes from the start of the stream.
bool DecodeImage(IVekFileBase& file, CRefCountPtrT<Image>& image);

int32_t DetectImageFormat(IVekFileBase& file);

// Decoders: read from the file's current position. On failure the image
// handle is empty and nothing was written outside the image's buffer.
bool ReadTGA(IVekFileBase& file, CRefCountPtrT<Image>& image);
bool ReadSGI(IVekFileBase& file, CRefCountPtrT<Image>& image);
bool ReadBMP(IVekFileBase& file, CRefCountPtrT<Image>& image);
bool ReadPNG(IVekFileBase& file, CRefCountPtrT<Image>& image);
bool ReadJPEG(IVekFileBase& file, CRefCountPtrT<Image>& image);
