// Entry point of the screen saver. The exit code is 0 in every mode: the
// screen saver host does not read it, and a failure has already been logged.
#include <windows.h>

#include "app/saver_app_win32.h"
#include "app/task_engine_link_win32.h"
#include "engine/core/log.h"
#include "life/settings_store.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MainLog().SetConsole(false);
  g_programInstance = GetModuleHandleW(nullptr);
  // Creates the Life task, reads the registry (writing defaults back) and the
  // palette store, before any run mode needs them.
  LoadSettings();
  ConnectTaskToEngine();
  const int32_t parsed = ParseCommandLine();
  SaverApp app;
  return app.Run(parsed);
}
