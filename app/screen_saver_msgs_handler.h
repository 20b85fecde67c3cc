// The input rule that ends the full-screen saver: a key press, or a mouse
// move to a position other than the last one seen; with a tolerance, only a
// move that takes the pointer that many pixels (or more) from where it was
// first seen, so that a slow drag still ends it and a trembling hand does
// not. The very first move never
// closes, because Windows reports one when the window appears under a cursor
// that did not move; nor does the first after a display change, which may
// move the window under the cursor. Clicks, the wheel and Alt-key combinations leave the
// saver running. The handler never consumes a message.
//
// Portable: how a close request reaches the window is injected (the Win32
// side posts WM_CLOSE, see MakeScreenSaverMsgsHandler).
#pragma once

#include <cstdint>
#include <functional>

#include "engine/core/task.h"

class ScreenSaverMsgsHandler final : public IWindowMsgHandler {
 public:
  using CloseRequest = std::function<void(NativeWindow)>;
  // `mouseTolerance` in pixels (the setting `MouseTolerance`); 0 is the
  // classic rule.
  explicit ScreenSaverMsgsHandler(CloseRequest requestClose, uint32_t mouseTolerance = 0)
      : requestClose_(std::move(requestClose)), tolerance_(mouseTolerance) {}
  ~ScreenSaverMsgsHandler() = default;

  intptr_t HandleMessage(NativeWindow window, uint32_t message, MessageWParam wParam, MessageLParam lParam,
                         bool& handled) override;

  // The packed position word of the last mouse move; -1 while none was seen.
  int32_t lastMousePos = -1;
  // The packed position where the pointer was first seen (after the last
  // display change); -1 while none was seen.
  int32_t firstMousePos = -1;

 private:
  // Whether `position` ends the saver, the first position seen being known.
  bool MovedFarEnough(int32_t position) const;
  CloseRequest requestClose_;
  uint32_t tolerance_;
};
