#include "config/ui/message_loop_win32.h"

#include <algorithm>

void CMessageLoop::AddMessageFilter(CMessageFilter* filter) {
  if (filter && std::find(filters_.begin(), filters_.end(), filter) == filters_.end()) filters_.push_back(filter);
}

void CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
  filters_.erase(std::remove(filters_.begin(), filters_.end(), filter), filters_.end());
}

void CMessageLoop::AddIdleHandler(CIdleHandler* handler) {
  if (handler && std::find(idleHandlers_.begin(), idleHandlers_.end(), handler) == idleHandlers_.end())
    idleHandlers_.push_back(handler);
}

void CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) {
  idleHandlers_.erase(std::remove(idleHandlers_.begin(), idleHandlers_.end(), handler), idleHandlers_.end());
}

int CMessageLoop::Run() {
  MSG msg{};
  bool idlePending = true;
  for (;;) {
    if (idlePending && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      std::vector<CIdleHandler*> handlers = idleHandlers_;
      for (CIdleHandler* h : handlers) h->OnIdle();
      idlePending = false;
    }
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) continue;  // an invalid window handle: nothing to dispatch
    if (got == 0) break;
    bool consumed = false;
    std::vector<CMessageFilter*> filters = filters_;
    for (auto it = filters.rbegin(); it != filters.rend() && !consumed; ++it) consumed = (*it)->PreTranslateMessage(&msg);
    if (!consumed) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    // Timer ticks and the caret's blink do not count as activity.
    if (msg.message != WM_TIMER && msg.message != WM_PAINT && msg.message != 0x0118 /* WM_SYSTIMER */)
      idlePending = true;
  }
  return static_cast<int>(msg.wParam);
}
