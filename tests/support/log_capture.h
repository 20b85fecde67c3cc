// Captures what the logs write to the console while it lives, and switches
// the main log's console output on for that span.
#pragma once

#include <sstream>
#include <string>

#include "engine/core/log.h"

class LogCapture {
 public:
  LogCapture() : previous(SetLogConsoleStream(&buffer)) { MainLog().SetConsole(true); }
  ~LogCapture() {
    MainLog().SetConsole(false);
    SetLogConsoleStream(previous);
  }
  std::string Text() const {
    std::string narrow;
    for (wchar_t c : buffer.str()) narrow.push_back(static_cast<char>(c));
    return narrow;
  }
  void Clear() { buffer.str(L""); }

 private:
  std::wostringstream buffer;
  std::wostream* previous;
};
