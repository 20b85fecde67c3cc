// Finds the configuration sheet (or any top-level window by class and title)
// from outside the saver's process, for the end-to-end scripts:
//
//   window_probe rect  <title> <control id>  prints "RECT left top right bottom"
//                                             (screen pixels) of the visible
//                                             control with that id anywhere
//                                             inside the window; id 0 = the
//                                             window itself
//   window_probe close <title>               posts what a click on the close
//                                             box sends (WM_SYSCOMMAND SC_CLOSE)
//   window_probe settext <title> <id> <text> sets the text of the edit control
//                                             with that id (a file dialog's name box)
//   window_probe press <title> <id>          posts a click (BM_CLICK) to the
//                                             button with that id; posted, so a dialog the
//                                             click opens does not hold the probe
//   window_probe monitors                    prints "MONITORS count left top
//                                             width height": the monitors the
//                                             system reports and its virtual screen
//
// Exit code 0 on success, 1 when the window or control is not there (yet).
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

struct ControlSearch {
  int id = 0;
  const wchar_t* cls = nullptr;  // any class when null
  HWND found = nullptr;
};

BOOL CALLBACK MatchControl(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<ControlSearch*>(param);
  wchar_t cls[32] = {};
  if (search->cls != nullptr) GetClassNameW(child, cls, 32);
  if (GetDlgCtrlID(child) == search->id && IsWindowVisible(child) &&
      (search->cls == nullptr || _wcsicmp(cls, search->cls) == 0)) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

HWND FindTopLevel(const wchar_t* title) { return FindWindowW(nullptr, title); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wcscmp(argv[1], L"monitors") == 0) {
    std::printf("MONITORS %d %d %d %d %d\n", GetSystemMetrics(SM_CMONITORS), GetSystemMetrics(SM_XVIRTUALSCREEN),
                GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
                GetSystemMetrics(SM_CYVIRTUALSCREEN));
    std::fflush(stdout);
    return 0;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: window_probe rect <title> <id> | close <title> | settext <title> <id> <text> |"
                         " press <title> <id> | monitors\n");
    return 64;
  }
  HWND top = FindTopLevel(argv[2]);
  if (!top || !IsWindowVisible(top)) return 1;

  if (std::wcscmp(argv[1], L"close") == 0) return PostMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;

  if ((std::wcscmp(argv[1], L"settext") == 0 && argc >= 5) || (std::wcscmp(argv[1], L"press") == 0 && argc >= 4)) {
    // A file dialog's shell view holds a list of id 1 beside its Open
    // button, and its name box is an edit inside a combo of the same id.
    const bool press = argv[1][0] == L'p';
    ControlSearch search;
    search.id = static_cast<int>(std::wcstol(argv[3], nullptr, 10));
    search.cls = press ? L"Button" : L"Edit";
    EnumChildWindows(top, MatchControl, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) return 1;
    if (press) return PostMessageW(search.found, BM_CLICK, 0, 0) ? 0 : 1;
    return SendMessageW(search.found, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4])) ? 0 : 1;
  }

  if (std::wcscmp(argv[1], L"rect") == 0 && argc >= 4) {
    ControlSearch search;
    search.id = static_cast<int>(std::wcstol(argv[3], nullptr, 10));
    HWND target = top;
    if (search.id != 0) {
      // EnumChildWindows walks every descendant: the pages' controls too.
      EnumChildWindows(top, MatchControl, reinterpret_cast<LPARAM>(&search));
      target = search.found;
    }
    RECT rect{};
    if (!target || !GetWindowRect(target, &rect)) return 1;
    std::printf("RECT %ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    std::fflush(stdout);
    return 0;
  }
  std::fprintf(stderr, "unknown command\n");
  return 64;
}
