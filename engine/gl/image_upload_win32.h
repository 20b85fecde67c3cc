// Hands a decoded picture to the current context. Kept out of Image so the
// decoders never see GL.
#pragma once

#include <cstdint>

#include "engine/image/image.h"

// glTexImage2D of the whole picture at level 0 into `target`.
void UploadImage(const Image& image, uint32_t target);
