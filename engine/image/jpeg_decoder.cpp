// JPEG through libjpeg, decoded from a memory copy of the whole file. Errors
// long-jump back into ReadJPEG, which keeps only plain pointers alive across
// setjmp.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "engine/core/log.h"
#include "engine/image/image.h"
#include "engine/image/image_decoder_util.h"

namespace {

struct ErrorManager {
  jpeg_error_mgr standard;
  jmp_buf jump;
};

// libjpeg's messages go to our log rather than to stderr.
void OutputMessage(j_common_ptr info) {
  char text[JMSG_LENGTH_MAX];
  info->err->format_message(info, text);
  MainLog() << "\n" << "Load jpeg image: " << text << "\n";
}

void ErrorExit(j_common_ptr info) {
  info->err->output_message(info);
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// When the data runs out the decoder is fed an end-of-image marker, so a
// truncated file ends as a short picture rather than a read past the buffer.
const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr info) {
  info->src->next_input_byte = kEndOfImage;
  info->src->bytes_in_buffer = 2;
  return TRUE;
}

void SkipInput(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  while (count > static_cast<long>(info->src->bytes_in_buffer)) {
    count -= static_cast<long>(info->src->bytes_in_buffer);
    FillInput(info);
  }
  info->src->next_input_byte += count;
  info->src->bytes_in_buffer -= static_cast<size_t>(count);
}

}  // namespace

bool ReadJPEG(IVekFileBase& file, CRefCountPtrT<Image>& image) {
  image.Reset();
  const int32_t size = file.Size() - file.Tell();
  if (size <= 0) return false;
  auto* buffer = static_cast<JOCTET*>(std::malloc(static_cast<size_t>(size)));
  if (!buffer) return false;
  if (file.Read(buffer, size) != size) {
    std::free(buffer);
    return false;
  }

  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.standard);
  errors.standard.error_exit = ErrorExit;
  errors.standard.output_message = OutputMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    image.Reset();
    std::free(buffer);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_source_mgr source{};
  source.init_source = InitSource;
  source.fill_input_buffer = FillInput;
  source.skip_input_data = SkipInput;
  source.resync_to_restart = jpeg_resync_to_restart;
  source.term_source = TermSource;
  source.next_input_byte = buffer;
  source.bytes_in_buffer = static_cast<size_t>(size);
  info.src = &source;

  jpeg_read_header(&info, TRUE);
  // Grey stays grey; everything else is asked for as RGB (CMYK cannot be
  // converted and ends in the error handler).
  info.out_color_space = info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
  // Checked before jpeg_start_decompress, which may allocate whole-image
  // buffers (progressive files) of the claimed size.
  if (!decoder_util::WithinImageLimits(info.image_width, info.image_height)) {
    MainLog() << "\n" << "Load jpeg image: image size refused\n";
    std::longjmp(errors.jump, 1);
  }
  jpeg_start_decompress(&info);

  image.Adopt(new Image());
  Image* picture = image.get();
  const int32_t components = info.output_components;
  if (components != 1 && components != 3) std::longjmp(errors.jump, 1);
  if (!picture->Allocate(static_cast<int32_t>(info.output_width), static_cast<int32_t>(info.output_height),
                         components))
    std::longjmp(errors.jump, 1);
  picture->format = picture->internalFormat = components == 1 ? image_gl::kLuminance : image_gl::kRgb;
  const size_t rowBytes = static_cast<size_t>(picture->width) * components;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = picture->data + (picture->height - 1 - static_cast<int32_t>(info.output_scanline)) * rowBytes;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::free(buffer);
  return true;
}
