// Configuration mode: the settings sheet on this thread, the live preview on
// the kernel's thread. The preview window is a child of the sheet's pane, so
// it lives and dies with the kernel thread while the sheet stays responsive.
#include "app/saver_app_win32.h"

#include <windows.h>

#include "config/dlg_config_sheet_win32.h"
#include "config/ui/message_loop_win32.h"
#include "engine/gfx/gl_window_settings.h"
#include "resources/resource.h"

namespace {
// Whether the sheet shows its advanced pages. Until the settings loader owns
// it, it starts at its default for each run.
uint32_t g_showAdvancedCFG = 0;
}  // namespace

int32_t SaverApp::RunConfiguration() {
  CMessageLoop loop;
  CDlgConfigSheet sheet(g_showAdvancedCFG);
  loop.AddMessageFilter(&sheet);
  loop.AddIdleHandler(&sheet);

  HWND window = sheet.Create(nullptr);
  if (window != nullptr) ShowWindow(window, SW_SHOW);

  GLWindowSettings settings = GLWindowSettings::Instance();
  settings->windowWidth = 640;
  settings->windowHeight = 640;
  settings->fullScreen = false;
  settings->parentWindow = window != nullptr ? GetDlgItem(window, IDC_PREVIEW) : nullptr;

  AddTasks();
  RunKernel();
  // The sheet's destruction stops the tasks and posts WM_QUIT with its result.
  const int32_t result = window != nullptr ? loop.Run() : 0;
  WaitKernel();

  loop.RemoveIdleHandler(&sheet);
  loop.RemoveMessageFilter(&sheet);
  settings.Reset();
  return result;
}
