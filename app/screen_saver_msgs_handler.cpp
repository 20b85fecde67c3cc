#include "app/screen_saver_msgs_handler.h"

#include "app/window_messages.h"

namespace {
// The client coordinates in the packed word, signed (a window over monitors
// left of or above the primary one has negative positions).
int32_t XOf(int32_t packed) { return static_cast<int16_t>(static_cast<uint32_t>(packed) & 0xFFFF); }
int32_t YOf(int32_t packed) { return static_cast<int16_t>(static_cast<uint32_t>(packed) >> 16); }
}  // namespace

bool ScreenSaverMsgsHandler::MovedFarEnough(int32_t position) const {
  if (tolerance_ == 0) return position != lastMousePos;
  const int64_t dx = XOf(position) - XOf(firstMousePos);
  const int64_t dy = YOf(position) - YOf(firstMousePos);
  const int64_t reach = static_cast<int64_t>(tolerance_);
  return dx * dx + dy * dy >= reach * reach;
}

intptr_t ScreenSaverMsgsHandler::HandleMessage(NativeWindow window, uint32_t message, MessageWParam,
                                               MessageLParam lParam, bool& handled) {
  handled = false;
  if (message == winmsg::kMouseMove) {
    // Only the low 32 bits carry the packed client position.
    const int32_t position = static_cast<int32_t>(static_cast<uint32_t>(lParam));
    if (lastMousePos != -1 && MovedFarEnough(position) && requestClose_) requestClose_(window);
    if (lastMousePos == -1) firstMousePos = position;
    lastMousePos = position;
  } else if (message == winmsg::kDisplayChange) {
    // The window follows the new desktop: when its origin moves, a cursor that
    // stood still has a new position inside it, and Windows reports it.
    lastMousePos = -1;
    firstMousePos = -1;
  } else if (message == winmsg::kKeyDown) {
    if (requestClose_) requestClose_(window);
  }
  // Buttons, the wheel (WM_LBUTTONDOWN..WM_MOUSELAST), WM_SYSKEYDOWN and
  // everything else leave the saver running.
  return 0;
}
