// Wine (8.x) never shows what OpenGL draws into a child window: the child's
// GL surface is an off-screen X window that is not copied into the parent.
// Under Wine a child GL window therefore renders into a hidden top-level
// window, and each finished frame is read back and drawn into the visible
// child with GDI. (When the parent belongs to another process not even GDI
// drawing shows; the GL window then renders into a popup laid over the
// child instead, see GLWindowBase::FollowChild.) Windows draws child GL
// windows itself and takes none of this path.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// True when the process runs under Wine (ntdll exports wine_get_version).
bool RunningUnderWine();

class ChildFrameCopy {
 public:
  // Reads the back buffer of the current context (width x height from the
  // lower left) and draws it into `target`'s client area. False when there is
  // nothing to draw or GDI refused.
  bool CopyBackBuffer(HWND target, int32_t width, int32_t height);

 private:
  std::vector<uint8_t> pixels;  // kept between frames: no allocation per frame
};
