// Configuration mode: the settings sheet on this thread, the live preview on
// the kernel's thread.
#include "app/saver_app_win32.h"

int32_t SaverApp::RunConfiguration() {
  // No sheet exists in this build: nothing is shown and nothing is saved.
  return 0;
}
