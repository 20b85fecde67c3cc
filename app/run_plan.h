// What one run does with the parse result: which loop to run and how the GL
// window is to be placed. Portable, so the whole decision table is tested
// natively; saver_app_win32.cpp applies the plan to the engine's singletons.
#pragma once

#include <cstdint>
#include <functional>

#include "app/command_line.h"
#include "engine/core/task.h"

enum class RunAction {
  End,         // nothing to run: the process returns 0 at once
  FullScreen,  // the loop on the main thread, closed by user input
  Preview,     // the loop on a second thread, drawing into a parent window
  Configure,   // the configuration sheet with its preview
};

// The GL window settings a mode sets. Left untouched when `apply` is false
// (preview mode 1 given literally, and configuration mode, whose sheet places
// the window itself).
struct WindowPlacement {
  bool apply = false;
  int32_t width = 640;
  int32_t height = 640;
  bool fullScreen = false;
  NativeWindow parent = nullptr;
};

struct RunPlan {
  RunAction action = RunAction::End;
  uint32_t mode = kConfigure;  // the mode SaverApp keeps: 0, 1 or 2
  WindowPlacement window;
};

// `isWindow` tells whether a handle names an existing window. A handle that
// does not, like a failed command-line parse, ends the run: a preview into a
// window that does not exist could only fail later, and a screen saver host
// expects the process to go away quietly.
RunPlan PlanRun(int32_t parseResult, const std::function<bool(NativeWindow)>& isWindow);
