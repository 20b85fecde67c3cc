// Configuration mode: the settings sheet on this thread, the live preview on
// the kernel's thread. The preview window is a child of the sheet's pane, so
// it lives and dies with the kernel thread while the sheet stays responsive.
#include "app/saver_app_win32.h"

#include <windows.h>

#include "config/pages/dlg_config_sheet_win32.h"
#include "config/ui/message_loop_win32.h"
#include "engine/core/log.h"
#include "engine/gl/gl_window_settings.h"
#include "life/settings_store.h"
#include "resources/resource.h"

int32_t SaverApp::RunConfiguration() {
  CMessageLoop loop;
  CDlgConfigSheet sheet(ProcessSharedSettings().ShowAdvancedCFG);
  loop.AddMessageFilter(&sheet);
  loop.AddIdleHandler(&sheet);

  HWND window = createSheet ? static_cast<HWND>(createSheet(sheet)) : sheet.Create(nullptr);
  if (window == nullptr) {
    // Without the sheet there is nothing to close the preview with: end here
    // rather than leave an animation nobody asked for.
    MainLog() << "<!> " << "configuration sheet could not be created\n";
    loop.RemoveIdleHandler(&sheet);
    loop.RemoveMessageFilter(&sheet);
    return 0;
  }
  ShowWindow(window, SW_SHOW);

  GLWindowSettings settings = GLWindowSettings::Instance();
  settings->windowWidth = 640;
  settings->windowHeight = 640;
  settings->fullScreen = false;
  settings->parentWindow = GetDlgItem(window, IDC_PREVIEW);

  AddTasks();
  RunKernel();
  // The sheet's destruction stops the tasks and posts WM_QUIT with its result.
  const int32_t result = loop.Run();
  WaitKernel();

  loop.RemoveIdleHandler(&sheet);
  loop.RemoveMessageFilter(&sheet);
  settings.Reset();
  // Only OK keeps what the pages changed; Cancel and the close box leave the
  // registry as it was.
  if (result == 1) SaveSettings();
  return result;
}
