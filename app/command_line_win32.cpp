// Splits the process command line the way the screen saver host builds it.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/saver_app_win32.h"
#include "engine/core/scoped_handle_win32.h"

namespace {
// CommandLineToArgvW's array is one LocalAlloc block.
struct ArgumentArrayTraits : NullIsNoHandle<LPWSTR*> {
  static void Close(LPWSTR* argv) { LocalFree(argv); }
};
}  // namespace

int32_t ParseCommandLine() {
  int count = 0;
  const ScopedHandle<ArgumentArrayTraits> argv(CommandLineToArgvW(GetCommandLineW(), &count));
  if (!argv) {
    MessageBoxW(nullptr, L"CommandLineToArgvW failed\n", L"Vivarn Screen Saver", MB_ICONERROR);
    return kCommandLineFailed;
  }
  std::vector<std::wstring> args(argv.get(), argv.get() + count);
  return static_cast<int32_t>(ParseArguments(args));
}
