// The record one run of the screen saver keeps, and the steps of the entry
// point: parse the command line, set the mode up, wire the engine's tasks,
// run the kernel's loop here (full screen) or on a second thread (preview,
// configuration) and wait for it. Every mode ends with exit code 0.
#pragma once

#include <cstdint>
#include <memory>

#include "app/command_line.h"
#include "app/power_policy.h"
#include "app/run_plan.h"
#include "app/screen_saver_msgs_handler.h"

class CDlgConfigSheet;
class VekKernelBase;

// The program instance (GetModuleHandleW(nullptr)), recorded by the entry
// point before anything else runs.
extern void* g_programInstance;

// The run mode from the process command line, or kCommandLineFailed after
// telling the user that it could not be split.
int32_t ParseCommandLine();

// The input-close handler whose close request posts WM_CLOSE to the window.
std::unique_ptr<ScreenSaverMsgsHandler> MakeScreenSaverMsgsHandler(uint32_t mouseTolerance = 0);

// The power handler of the full-screen run: the power status from
// GetSystemPowerStatus, the display watched through power-setting
// notifications, and the regime applied to the kernel (on the loop's
// thread, where the window's messages arrive).
// `query` replaces the system's power status (tests); `kernel` is the loop
// the regime goes to.
std::unique_ptr<PowerMsgsHandler> MakePowerMsgsHandler(uint32_t onBattery, VekKernelBase& kernel,
                                                       PowerMsgsHandler::QuerySource query = nullptr);
// Gives back the display watch MakePowerMsgsHandler's handler asked for.
void EndPowerWatch();

// Waits for the kernel's thread, if one was started; a failed wait terminates
// that thread. Leaves the kernel's thread field at the current-thread
// pseudo-handle.
void WaitKernel();

struct SaverApp {
  // Stores the mode and fills the module and GL window settings for it.
  // Returns false when there is nothing to run (the command line could not be
  // split, or the preview's parent is not a window).
  bool SetupMode(int32_t parseResult);
  void AddTasks();
  void RunKernel();
  // Configuration mode: the sheet with its live preview; 1 for OK, else 0.
  int32_t RunConfiguration();
  // The whole run after the settings were loaded; always 0.
  int Run(int32_t parseResult);

  std::unique_ptr<ScreenSaverMsgsHandler> msgHandler;
  std::unique_ptr<PowerMsgsHandler> powerHandler;
  uint32_t mode = kConfigure;
  // Makes the configuration sheet's window (an HWND; null when it cannot be
  // made). Tests replace it to make the creation fail.
  void* (*createSheet)(CDlgConfigSheet& sheet) = nullptr;
};
