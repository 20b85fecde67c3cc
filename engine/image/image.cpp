// Image storage, format detection and the loader.
#include "engine/image/image.h"

#include <png.h>

#include <new>

#include "engine/core/byte_order.h"
#include "engine/core/log.h"
#include "engine/image/image_decoder_util.h"

namespace {
bool IsPowerOfTwo(int32_t v) { return v > 0 && (v & (v - 1)) == 0; }
}  // namespace

const char* ImageFormatName(int32_t code) {
  switch (code) {
    case kImageTGA: return "TGA";
    case kImageSGI: return "SGI RGB";
    case kImagePNG: return "PNG";
    case kImageBMP: return "BMP";
    case kImageJPG: return "JPG";
    default: return "Unknown";
  }
}

Image::~Image() { FreeData(); }

void Image::FreeData() {
  if (data) ::operator delete[](data, std::align_val_t{16});
  data = nullptr;
}

void Image::OnCreate() {
  LifecycleLog() << "Image this:" << std::hex << static_cast<const void*>(this) << std::dec << " created\n";
  dataSize = 0;
  data = nullptr;
  internalFormat = format = 0;
  type = image_gl::kUnsignedByte;
}

void Image::OnDestroy() {
  LifecycleLog() << "Image this:" << std::hex << static_cast<const void*>(this) << std::dec << " destroyed\n";
  FreeData();
  dataSize = 0;
  internalFormat = format = 0;
  type = image_gl::kUnsignedByte;
}

uint32_t Image::FormatFor(int32_t c) {
  switch (c) {
    case 1: return image_gl::kLuminance;
    case 2: return image_gl::kLuminanceAlpha;
    case 3: return image_gl::kRgb;
    default: return image_gl::kRgba;
  }
}

bool Image::Allocate(int32_t newWidth, int32_t newHeight, int32_t newComponents) {
  if (newWidth < 0 || newHeight < 0 || !decoder_util::WithinImageLimits(newWidth, newHeight) ||
      newComponents < 1 || newComponents > 4) {
    decoder_util::LogImageSizeRefused(newWidth, newHeight, newComponents);
    FreeData();
    width = height = components = dataSize = 0;
    return false;
  }
  width = newWidth;
  height = newHeight;
  components = newComponents;
  if (!IsPowerOfTwo(width) || !IsPowerOfTwo(height)) {
    MainLog() << "<~> " << "Image size is non-power-of-2 (" << width << "x" << height << ")\n";
  }
  // At most 64 Mi pixels x 4 = 2^28 bytes, so the product fits.
  const int32_t bytes = width * height * components;
  if (bytes != dataSize || (!data && bytes > 0)) {
    FreeData();
    dataSize = bytes;
    if (bytes > 0) data = static_cast<uint8_t*>(::operator new[](static_cast<size_t>(bytes), std::align_val_t{16}));
  }
  return true;
}

int32_t DetectImageFormat(IVekFileBase& file) {
  uint8_t head[512];
  int32_t code = kImageUnknown;
  const int32_t got = file.Read(head, 512);
  file.Rewind();
  if (got == 512 && head[0] == 0x01 && head[1] == 0xDA) return kImageSGI;
  if (got >= 18) {
    const int type = head[2];
    const int width = byte_order::ReadLE16(head + 12);
    const int height = byte_order::ReadLE16(head + 14);
    const auto mapLength = static_cast<int16_t>(byte_order::ReadLE16(head + 5));
    if ((type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11) && width != 0 &&
        height != 0 && head[16] != 0 && mapLength <= 256)
      code = kImageTGA;
  }
  if (code == kImageUnknown && got >= 8 && png_sig_cmp(head, 0, 8) == 0) code = kImagePNG;
  if (code == kImageUnknown && got >= 2 && head[0] == 0xFF && head[1] == 0xD8) code = kImageJPG;
  if (code == kImageUnknown && got >= 2 && head[0] == 'B' && head[1] == 'M') code = kImageBMP;
  return code;
}

bool DecodeImage(IVekFileBase& file, CRefCountPtrT<Image>& image) {
  image.Reset();
  const int32_t code = DetectImageFormat(file);
  MainLog() << "(" << ImageFormatName(code) << ")";
  bool ok = false;
  switch (code) {
    case kImageTGA: ok = ReadTGA(file, image); break;
    case kImageSGI: ok = ReadSGI(file, image); break;
    case kImagePNG: ok = ReadPNG(file, image); break;
    case kImageBMP: ok = ReadBMP(file, image); break;
    case kImageJPG: ok = ReadJPEG(file, image); break;
    default: MainLog() << " format unknown!\n"; break;
  }
  if (!ok) image.Reset();
  return ok;
}

bool LoadImage(const char* path, CRefCountPtrT<Image>& image) {
  image.Reset();
  MainLog() << "<i> " << "Loading image from " << (path ? path : "");
  CRefCountPtrT<IVekFileBase> file;
  if (!OpenFile(path, file)) {
    MainLog() << " not found!\n";
    return false;
  }
  const bool ok = DecodeImage(*file, image);
  file->Close();
  MainLog() << (ok ? "...OK\n" : " cannot read!\n");
  return ok;
}
