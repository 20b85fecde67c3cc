// Where the Life field takes its size from: the drawing size of the output in
// pixels. In the program that is the GL window settings' current size; the
// headless build (native tests, benchmarks) answers a size set by the caller.
#pragma once

#include <cstdint>

struct OutputSize {
  int32_t width = 0;
  int32_t height = 0;
};

OutputSize CurrentOutputSize();

// Sets the size CurrentOutputSize answers (tests, benchmarks): in the program
// the GL window settings' windowed size (full screen off); headless a plain
// size, 640 x 640 until set.
void SetOutputSize(int32_t width, int32_t height);
