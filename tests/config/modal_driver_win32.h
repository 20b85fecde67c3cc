// Test helper: drives a modal dialog from inside its own message loop. A
// thread timer looks for a dialog of the given title on this thread and, once
// it is there, runs the action; if the dialog does not appear before the
// deadline, whatever modal dialog is open is cancelled so the test never waits
// on a user.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class ModalDriver {
 public:
  ModalDriver(std::wstring title, std::function<void(HWND)> action, DWORD deadlineMs = 5000)
      : title_(std::move(title)), action_(std::move(action)), deadline_(GetTickCount() + deadlineMs) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 30, &ModalDriver::Tick);
  }
  ~ModalDriver() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  bool Acted() const { return acted_; }
  bool TimedOut() const { return timedOut_; }

 private:
  static BOOL CALLBACK FindDialog(HWND w, LPARAM self) {
    auto* d = reinterpret_cast<ModalDriver*>(self);
    wchar_t cls[16] = {}, text[256] = {};
    GetClassNameW(w, cls, 16);
    GetWindowTextW(w, text, 256);
    if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(w) && (d->title_.empty() || d->title_ == text)) {
      d->found_ = w;
      return FALSE;
    }
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalDriver* d = current_;
    if (d == nullptr || d->acted_ || d->timedOut_) return;
    d->found_ = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(d));
    if (d->found_ != nullptr) {
      d->acted_ = true;
      d->action_(d->found_);
    } else if (GetTickCount() > d->deadline_) {
      d->timedOut_ = true;
      HWND active = GetActiveWindow();
      if (active != nullptr) PostMessageW(active, WM_COMMAND, IDCANCEL, 0);
    }
  }
  static inline ModalDriver* current_ = nullptr;
  std::wstring title_;
  std::function<void(HWND)> action_;
  DWORD deadline_;
  UINT_PTR timer_ = 0;
  HWND found_ = nullptr;
  bool acted_ = false;
  bool timedOut_ = false;
};
