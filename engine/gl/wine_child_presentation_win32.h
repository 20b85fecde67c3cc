// How a child GL window (the preview in the Display control panel, the
// configuration sheet's preview) gets its frames onto the screen under Wine.
//
// Wine (8.x) never shows what OpenGL draws into a child window: the child's GL
// surface is an off-screen X window that is not copied into the parent. Under
// Wine the context therefore lives on a stand-in top-level window of the
// child's size:
// - parent in this process: the stand-in is hidden, and each finished frame is
//   read back and drawn into the visible child with GDI (ChildFrameCopy);
// - parent in another process: not even GDI drawing into the child shows, so
//   the stand-in is a borderless popup laid over the child and kept on its
//   place, owned by the parent's top-level window so it stays above it.
// Windows draws child GL windows itself: there Begin makes nothing and the
// context lives on the child, as for every top-level GL window.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/gl/child_frame_copy_win32.h"

// True when the process runs under Wine (ntdll exports wine_get_version).
bool RunningUnderWine();

class WineChildPresentation {
 public:
  // For the GL window `child` of `parent`: under Wine, makes the stand-in
  // (with the GL window's class, so it needs no class of its own); elsewhere
  // does nothing. False when the stand-in could not be made, with the
  // system's error code left for GetLastError.
  bool Begin(HWND child, HWND parent, const wchar_t* className, const wchar_t* title, HINSTANCE instance);
  // The window that holds the context in the child's place; nullptr when the
  // context lives on the GL window itself.
  HWND StandIn() const { return standIn; }
  // Keeps the stand-in at the child's client size.
  void Resize(int32_t width, int32_t height);
  // Once per frame, with the context current and before the buffers are
  // swapped: copies the frame into the child, or moves the overlay onto it.
  void BeforeSwap(HWND child);
  // Destroys the stand-in; the context must have been released from it.
  void End();

 private:
  // Keeps the overlay popup on the child's place and visibility.
  void FollowChild(HWND child);

  HWND standIn = nullptr;
  bool overlaysChild = false;
  ChildFrameCopy frameCopy;
};
