// A top-level test window that reflects child notifications (as the
// configuration pages do) and records the commands and notifications it gets.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "config/ui/window_impl_win32.h"

struct RecordedCommand {
  UINT id;
  UINT code;
  HWND source;
};

class TestHost : public CWindowImpl {
 public:
  static constexpr const wchar_t* kClass = L"VivarnTestHost";
  bool Open(int x = 100, int y = 100, int width = 500, int height = 400) {
    RegisterWindowClass(kClass, CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW),
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    RECT r{x, y, x + width, y + height};
    if (!Create(kClass, nullptr, r, L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN)) return false;
    UpdateWindow(Handle());
    return true;
  }
  bool ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_COMMAND) commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
    if (message == WM_NOTIFY && onNotify) {
      LRESULT answer = onNotify(reinterpret_cast<const NMHDR*>(lParam));
      // Still reflected, so the child sees it; the owner's answer wins.
      LRESULT ignored = 0;
      ReflectNotifications(message, wParam, lParam, ignored);
      result = answer;
      return true;
    }
    return ReflectNotifications(message, wParam, lParam, result);
  }
  int CountCommands(UINT code) const {
    int n = 0;
    for (const auto& c : commands) n += c.code == code;
    return n;
  }
  std::vector<RecordedCommand> commands;
  std::function<LRESULT(const NMHDR*)> onNotify;
};

// Runs `steps` one after another from a thread timer while a modal loop of
// this thread runs (the picker's, a dialog's): each step returns true when it
// is done. After the deadline the script gives up and reports it; `rescue`
// then ends the modal loop so the test can fail instead of hanging.
class ModalScript {
 public:
  using Step = std::function<bool()>;
  ModalScript(std::vector<Step> steps, std::function<void()> rescue, int deadlineMs = 8000)
      : steps_(std::move(steps)), rescue_(std::move(rescue)), deadline_(GetTickCount() + deadlineMs) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 15, Tick);
  }
  ~ModalScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  bool Finished() const { return next_ == steps_.size(); }
  bool TimedOut() const { return timedOut_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* s = current_;
    if (s == nullptr || s->running_) return;
    s->running_ = true;
    // Ticks after the last step mean the modal loop did not end: that too
    // counts against the deadline.
    if (s->next_ < s->steps_.size() && s->steps_[s->next_]()) {
      ++s->next_;
    } else if (static_cast<LONG>(GetTickCount() - s->deadline_) > 0 && !s->timedOut_) {
      s->timedOut_ = true;
      s->rescue_();
    }
    s->running_ = false;
  }
  static inline ModalScript* current_ = nullptr;
  std::vector<Step> steps_;
  std::function<void()> rescue_;
  DWORD deadline_;
  size_t next_ = 0;
  bool running_ = false;
  bool timedOut_ = false;
  UINT_PTR timer_ = 0;
};
