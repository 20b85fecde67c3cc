// The process command line, as the screen saver host builds it.
#include <windows.h>

#include "app/saver_app_win32.h"

int32_t ParseCommandLine() { return static_cast<int32_t>(ParseArguments(SplitCommandLine(GetCommandLineW()))); }
