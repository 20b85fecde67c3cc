// The frame copy of a Wine child GL window (see
// wine_child_presentation_win32.h): the finished frame of a hidden stand-in
// window is read back and drawn into the visible child with GDI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

class ChildFrameCopy {
 public:
  // Reads the back buffer of the current context (width x height from the
  // lower left) and draws it into `target`'s client area. False when there is
  // nothing to draw or GDI refused.
  bool CopyBackBuffer(HWND target, int32_t width, int32_t height);

 private:
  std::vector<uint8_t> pixels;  // kept between frames: no allocation per frame
};
