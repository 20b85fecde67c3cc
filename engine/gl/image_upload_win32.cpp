// The GL side of Image: handing the pixels to the current context.
#include "engine/gl/image_upload_win32.h"

#include "engine/gl/gl_include_win32.h"

void UploadImage(const Image& image, uint32_t target) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows are not padded
  glTexImage2D(target, 0, static_cast<GLint>(image.internalFormat), image.width, image.height, 0, image.format,
               image.type, image.data);
}
