// The one OpenGL window of the process: the Win32 window, its device context,
// its rendering context and the display-mode switch. Created by the video
// update task's Start and destroyed by its Stop, all on the kernel thread,
// which keeps the context current for the whole run.
//
// Sections: the window object and its handle; free functions (window class,
// window procedure, textured quad); the pixel format request.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include <cstdint>
#include <functional>

#include "engine/core/ref_count.h"
#include "engine/core/singleton.h"
#include "engine/gl/gl_window_settings.h"
#include "engine/gl/monitor_layout.h"
#include "engine/gl/wine_child_presentation_win32.h"

class GLWindowBase : public IRefCountPtrBase {
 public:
  void OnCreate() override;
  void OnDestroy() override;

  // Registers the class if needed, lays the full-screen window out over the
  // monitors, switches the display mode (full screen on one monitor),
  // creates the window and its context, applies InitGLState and shows it.
  // On failure everything made so far is undone, the kernel's Abort is
  // called and false returned.
  bool Create();
  // Saves the desktop mode and, in full-screen mode on one monitor, switches
  // the display; clears the settings' fullScreen when the driver refuses.
  // A switch to the very mode the display has already is left to
  // FinishModeSwitch. Hides the cursor in full screen. Returns fullScreen
  // after the attempt.
  bool Go();
  // Kernel thread, after a frame is shown: makes the switch Go left for
  // later, once. It changes nothing on the screen, so it need not hold up
  // the first frame (under wine it costs tens of milliseconds: the display
  // driver lists its adapters and monitors anew).
  void FinishModeSwitch();
  // Kernel thread, while a frame is drawn: the switch FinishModeSwitch would
  // make after this frame waits for the next one (a frame that left out
  // what the next shows).
  void HoldModeSwitchAFrame() { modeSwitchHeld = modeSwitchPending; }
  // Returns the display to the desktop mode if Go switched it and shows the
  // cursor if Go hid it; a second call does nothing. Always true.
  bool Restore();
  // Applies the window settings' swapInterval when WGL_EXT_swap_control is
  // there; ReleaseContext gives the driver its own interval back.
  bool SetupContext();
  void ReleaseContext();
  // Kernel thread, once per frame: applies a vertical-sync change the
  // settings' swapIntervalRequest carries. False when there was none, or
  // there is no current context of ours or no swap control to apply it with
  // (the request is used up either way).
  bool ApplyRequestedSwapInterval();
  // Kernel thread, once per frame: true once after a display change that
  // was not our own mode switch, since the refresh rate may have changed
  // with it (in any window, a preview's included).
  bool TakeDisplayChange() {
    const bool changed = displayChanged;
    displayChanged = false;
    return changed;
  }
  // Restores the display and releases the context and the window. Safe to
  // call again, and after the window was destroyed by someone else (the
  // preview's parent going away).
  void Destroy();
  // The viewport after a size change; with a parent window the parent's
  // client size wins, without one (and not full screen) the settings'
  // windowWidth/windowHeight take the new size.
  void Resize(int32_t width, int32_t height);
  void InitGLState();
  // WM_DISPLAYCHANGE, kernel thread, between frames: a full-screen window
  // lays the monitors out again and, where that moves anything, covers the
  // new virtual screen, takes the new field size and calls outputResized.
  // Our own display-mode switch, previews and windowed runs change nothing.
  void FollowDisplayChange();
  // Pixel-space projection of field `field` (GLWindowSettingsBase::FieldArea)
  // in its viewport, origin lower left; returns its size, 0 x 0 for a field
  // the window does not have.
  void BeginOrtho2D(int32_t& width, int32_t& height, size_t field = 0);
  // The same for the overlays: over several monitors the primary's area,
  // else the field's (then nothing is changed). Returns the area's size.
  void BeginOverlay2D(int32_t& width, int32_t& height);
  // Clears the next frame's buffers in the clear colour; around fields that
  // leave monitors uncovered, in black.
  void ClearFrame();
  // Shows the finished frame: swaps the buffers, for a child window under
  // Wine after handing the frame to its presentation.
  void Present();
  // The window whose device context holds the GL context: `window` itself, or
  // for a child window under Wine the presentation's stand-in.
  HWND ContextWindow() const;
  // True for the stand-in: nothing of it is the user's, so its messages skip
  // the kernel and the GL window's own handling.
  bool IsStandIn(HWND hwnd) const;

  DEVMODEW savedMode{};
  int32_t savedSwapInterval = 0;
  HDC dc = nullptr;
  HGLRC context = nullptr;
  int32_t pixelFormat = 0;
  HWND window = nullptr;

  // Called by FollowDisplayChange after the output size may have changed, so
  // the drawing task can size its field again before the next frame. Set
  // before the run; emptied when the object is made.
  std::function<void()> outputResized;

  // True while Destroy tears the window down: its messages then go straight
  // to the default procedure (the kernel may already be gone at exit).
  bool destroying = false;

 private:
  // Full screen over several monitors: the field is drawn into part of the
  // window (or all of it) through the layout's viewports.
  bool FieldInPart() const;
  static void SetViewport(const GLViewportRect& r);
  void HideCursor();
  // ChangeDisplaySettings with `request`; true when the driver took it.
  bool SwitchDisplayMode(DEVMODEW& request);

  // What the full-screen window covers now: the layout it was placed by, or
  // for one monitor that monitor at the mode Go set.
  MonitorLayout covered;
  // Windows sends WM_DISPLAYCHANGE from inside ChangeDisplaySettings: the
  // message our own switch causes must not move anything.
  bool switchingMode = false;
  bool displaySwitched = false;
  // Go found the display at the requested mode already: the switch waits
  // for FinishModeSwitch (or is dropped by Restore).
  bool modeSwitchPending = false;
  bool modeSwitchHeld = false;
  DEVMODEW pendingMode{};
  bool displayChanged = false;
  bool cursorHidden = false;
  bool swapIntervalChanged = false;
  // Windows shows a child GL window's frames itself; Wine needs a detour.
  WineChildPresentation presentation;
};

class GLWindow : public CRefCountPtrT<GLWindowBase> {
 public:
  using CRefCountPtrT<GLWindowBase>::CRefCountPtrT;
  static GLWindow& Instance() { return SingletonInstance<GLWindow, GLWindowBase, SingletonSlot::GLWindow>(); }
};

// The "csGLWindow" class (name from the settings), registered with the engine
// module's instance. True when the class is ours to use, including when this
// process registered it before.
bool RegisterWindowClass();

// Offers every message to the kernel's handlers first; then keeps the
// settings' position, follows size changes, turns WM_CLOSE into "stop every
// task" and never lets the system erase the background.
LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// One textured quad from (x0, y0) to (x1, y1). With `compile` it is recorded
// into a new display list whose id is returned; otherwise it is drawn now and
// 0 is returned.
GLuint BuildTexturedQuad(float x0, float y0, float x1, float y1, bool compile);

// The pixel format SetupContext asks for: double-buffered RGBA of colorBits,
// with 24 depth and 8 stencil bits at 32 colour bits, 16 and 0 otherwise.
PIXELFORMATDESCRIPTOR RequestedPixelFormat(int32_t colorBits);
