// The application's message loop: message filters see each message first
// (a modeless sheet translates its dialog keys there), idle handlers run each
// time the queue has been emptied. Run returns WM_QUIT's exit code.
// Depends on: <windows.h>.
#pragma once

#include <windows.h>

#include <vector>

class CMessageFilter {
 public:
  virtual ~CMessageFilter() = default;
  // True: the message was consumed and is neither translated nor dispatched.
  virtual bool PreTranslateMessage(MSG* message) = 0;
};

class CIdleHandler {
 public:
  virtual ~CIdleHandler() = default;
  virtual void OnIdle() = 0;
};

class CMessageLoop {
 public:
  void AddMessageFilter(CMessageFilter* filter);
  void RemoveMessageFilter(CMessageFilter* filter);
  void AddIdleHandler(CIdleHandler* handler);
  void RemoveIdleHandler(CIdleHandler* handler);
  int Run();

 private:
  // Copies are iterated so a filter or handler may remove itself.
  std::vector<CMessageFilter*> filters_;
  std::vector<CIdleHandler*> idleHandlers_;
};
