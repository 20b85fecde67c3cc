// Pixel measures of the configuration controls are designed for 96 DPI. The
// saver declares itself DPI aware, so Windows leaves them alone on a denser
// screen and each control scales them by its window's DPI itself.
#pragma once

#include <cstdint>

constexpr int32_t kDesignDpi = 96;

// `pixels` at 96 DPI, at `dpi`, rounded to the nearest pixel (halves away
// from zero, as MulDiv rounds). A DPI of 0 or less counts as 96.
int32_t ScaleToDpi(int32_t pixels, int32_t dpi);
