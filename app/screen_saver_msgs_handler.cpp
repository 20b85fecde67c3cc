#include "app/screen_saver_msgs_handler.h"

#include "app/window_messages.h"

intptr_t ScreenSaverMsgsHandler::HandleMessage(NativeWindow window, uint32_t message, MessageWParam,
                                               MessageLParam lParam, bool& handled) {
  handled = false;
  if (message == winmsg::kMouseMove) {
    // Only the low 32 bits carry the packed client position.
    const int32_t position = static_cast<int32_t>(static_cast<uint32_t>(lParam));
    if (lastMousePos != -1 && position != lastMousePos && requestClose_) requestClose_(window);
    lastMousePos = position;
  } else if (message == winmsg::kDisplayChange) {
    // The window follows the new desktop: when its origin moves, a cursor that
    // stood still has a new position inside it, and Windows reports it.
    lastMousePos = -1;
  } else if (message == winmsg::kKeyDown) {
    if (requestClose_) requestClose_(window);
  }
  // Buttons, the wheel (WM_LBUTTONDOWN..WM_MOUSELAST), WM_SYSKEYDOWN and
  // everything else leave the saver running.
  return 0;
}
