// Splits the process command line the way the screen saver host builds it.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/saver_app_win32.h"

int32_t ParseCommandLine() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv) {
    MessageBoxW(nullptr, L"CommandLineToArgvW failed\n", L"Vivarn Screen Saver", MB_ICONERROR);
    return kCommandLineFailed;
  }
  std::vector<std::wstring> args(argv, argv + count);
  LocalFree(argv);
  return static_cast<int32_t>(ParseArguments(args));
}
