// The GL side of Image: handing the pixels to the current context.
#include "engine/gfx/gl_include_win32.h"
#include "engine/gfx/image.h"

void Image::Upload(uint32_t target) const {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows are not padded
  glTexImage2D(target, 0, static_cast<GLint>(internalFormat), width, height, 0, format, type, data);
}
