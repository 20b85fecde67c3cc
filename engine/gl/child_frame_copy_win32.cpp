#include "engine/gl/child_frame_copy_win32.h"

#include <GL/gl.h>

#include "engine/core/scoped_handle_win32.h"

bool ChildFrameCopy::CopyBackBuffer(HWND target, int32_t width, int32_t height) {
  if (!target || width <= 0 || height <= 0) return false;
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4u;
  if (pixels.size() < bytes) pixels.resize(bytes);

  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadBuffer(GL_BACK);
  // BGRA rows from the bottom up are exactly a bottom-up 32-bit DIB.
  glReadPixels(0, 0, width, height, GL_BGRA_EXT, GL_UNSIGNED_BYTE, pixels.data());

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const ScopedWindowDc targetDc(GetDC(target), WindowDcTraits(target));
  if (!targetDc) return false;
  const int lines = SetDIBitsToDevice(targetDc.get(), 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0,
                                      0, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  return lines > 0;
}
