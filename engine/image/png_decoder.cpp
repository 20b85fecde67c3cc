// PNG through libpng: every colour type and depth, plain or interlaced,
// becomes 8-bit grey, grey with alpha, RGB or RGBA. libpng reports errors by
// long-jumping back into ReadPNG, so the function keeps only plain pointers
// alive across setjmp.
#include <png.h>

#include <cstdlib>

#include "engine/core/log.h"
#include "engine/image/image.h"
#include "engine/image/image_decoder_util.h"

namespace {

struct ReadContext {
  IVekFileBase* file;
  const char* path;
};

void ReadFromFile(png_structp png, png_bytep out, png_size_t count) {
  auto* context = static_cast<ReadContext*>(png_get_io_ptr(png));
  if (count > static_cast<png_size_t>(INT32_MAX) ||
      context->file->Read(out, static_cast<int32_t>(count)) != static_cast<int32_t>(count))
    png_error(png, "read past the end of the file");
}

void OnError(png_structp png, png_const_charp message) {
  MainLog() << "\n" << 2 << "Load png image: png_error:" << message << " "
            << static_cast<const char*>(png_get_error_ptr(png)) << " \n";
  png_longjmp(png, 1);
}

void OnWarning(png_structp png, png_const_charp message) {
  MainLog() << "\n" << 1 << "Load png image: png_warning:" << message << " "
            << static_cast<const char*>(png_get_error_ptr(png)) << " \n";
}

int32_t ComponentsFor(int colorType) {
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY: return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    default: return 4;
  }
}

}  // namespace

bool ReadPNG(IVekFileBase& file, CRefCountPtrT<Image>& image) {
  image.Reset();
  const char* path = file.path.c_str();
  png_byte signature[8];
  const int32_t got = file.Read(signature, 8);
  file.Rewind();
  if (got != 8 || png_sig_cmp(signature, 0, 8) != 0) {
    MainLog() << "\n" << 2 << "Load png image: png_error: '" << path << "' invalid png image!\n";
    return false;
  }

  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, const_cast<char*>(path), OnError, OnWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  ReadContext context{&file, path};
  Image* picture = nullptr;  // owned through `image` once created
  png_bytep* volatile rows = nullptr;  // volatile: set after setjmp, freed after the jump
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::free(rows);
    image.Reset();
    return false;
  }
  png_set_read_fn(png, &context, ReadFromFile);
  png_read_info(png, info);

  const int colorType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_expand(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_expand(png);
  if (bitDepth == 16) png_set_strip_16(png);
  else if (bitDepth < 8) png_set_packing(png);
  // Adam7 files: png_read_image then fills the whole rows over all seven
  // passes (without this it warns and guesses).
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  png_uint_32 width = 0, height = 0;
  int finalDepth = 0, finalType = 0;
  png_get_IHDR(png, info, &width, &height, &finalDepth, &finalType, nullptr, nullptr, nullptr);
  const int32_t components = ComponentsFor(finalType);
  if (width == 0 || height == 0 || !decoder_util::WithinImageLimits(width, height) ||
      png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * components)
    png_error(png, "image size or layout refused");

  image.Adopt(new Image());
  picture = image.get();
  if (!picture->Allocate(static_cast<int32_t>(width), static_cast<int32_t>(height), components))
    png_error(png, "image size refused");
  picture->format = picture->internalFormat = Image::FormatFor(components);

  rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
  if (!rows) png_error(png, "out of memory");
  const size_t rowBytes = static_cast<size_t>(width) * components;
  for (png_uint_32 i = 0; i < height; ++i) rows[i] = picture->data + (height - 1 - i) * rowBytes;
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::free(rows);
  return true;
}
