// A stand-in for the Screen Saver Settings dialog: it makes a 320 x 240
// window, starts the screen saver with "/p <handle>" as that dialog does, and
// reports on standard output, one line each:
//   HOST <x> <y> <width> <height>   the client area on the screen
//   CHILD FILLS | CHILD PARTIAL <w> <h>   once the saver's child window shows
//   NOCHILD                          no child within the deadline
//   MOVED <x> <y>                    "<stop file>.move" appeared; the window
//                                    moved (once) as a dragged dialog would
//   CLOSING                          the stop file appeared; the window goes
//   SAVER_EXIT <code> | SAVER_RUNNING    how the saver ended after that
// Usage: preview_host.exe <saver path> <stop file> [handle to pass instead]
// Exit code 0 when the saver drew a filling child and ended after the close.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {
constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr UINT_PTR kPollTimer = 1;
constexpr DWORD kChildDeadlineMs = 30000;
constexpr DWORD kStopDeadlineMs = 120000;

std::wstring g_stopFile;
DWORD g_started = 0;
bool g_sawChild = false;
bool g_childFilled = false;
bool g_moved = false;

void Report(const char* format, ...) {
  va_list args;
  va_start(args, format);
  vprintf(format, args);
  va_end(args);
  fflush(stdout);
}

void Poll(HWND host) {
  if (!g_sawChild) {
    HWND child = GetWindow(host, GW_CHILD);
    if (child && IsWindowVisible(child)) {
      RECT hostClient, childRect;
      GetClientRect(host, &hostClient);
      GetWindowRect(child, &childRect);
      MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&childRect), 2);
      g_sawChild = true;
      g_childFilled = EqualRect(&hostClient, &childRect) != FALSE;
      if (g_childFilled) Report("CHILD FILLS\n");
      else Report("CHILD PARTIAL %ld %ld %ld %ld\n", childRect.left, childRect.top, childRect.right, childRect.bottom);
    } else if (GetTickCount() - g_started > kChildDeadlineMs) {
      Report("NOCHILD\n");
      DestroyWindow(host);
      return;
    }
  }
  if (!g_moved && GetFileAttributesW((g_stopFile + L".move").c_str()) != INVALID_FILE_ATTRIBUTES) {
    g_moved = true;
    SetWindowPos(host, nullptr, 600, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    POINT origin{0, 0};
    ClientToScreen(host, &origin);
    Report("MOVED %ld %ld\n", origin.x, origin.y);
  }
  if (GetFileAttributesW(g_stopFile.c_str()) != INVALID_FILE_ATTRIBUTES ||
      GetTickCount() - g_started > kStopDeadlineMs) {
    Report("CLOSING\n");
    DestroyWindow(host);
  }
}

LRESULT CALLBACK HostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_TIMER:
      Poll(w);
      return 0;
    case WM_DESTROY:
      KillTimer(w, kPollTimer);
      PostQuitMessage(0);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // leave the area to the child
  }
  return DefWindowProcW(w, m, wp, lp);
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    Report("usage: preview_host <saver> <stop file> [handle]\n");
    return 64;
  }
  g_stopFile = argv[2];
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"VivarnPreviewHost";
  if (!RegisterClassW(&wc)) return 65;
  // WS_POPUP has no frame, so the window is exactly its 320 x 240 client area.
  HWND host = CreateWindowExW(0, wc.lpszClassName, L"Preview host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100,
                              kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  if (!host) return 66;
  POINT origin{0, 0};
  ClientToScreen(host, &origin);
  RECT client;
  GetClientRect(host, &client);
  Report("HOST %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);

  const std::wstring handle = argc > 3 ? std::wstring(argv[3]) : std::to_wstring(reinterpret_cast<uintptr_t>(host));
  std::wstring command = L"\"" + std::wstring(argv[1]) + L"\" /p " + handle;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    Report("NOSTART %lu\n", GetLastError());
    return 67;
  }
  CloseHandle(pi.hThread);
  g_started = GetTickCount();
  SetTimer(host, kPollTimer, 50, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }

  // Destroying the parent destroys the saver's child window; the saver must
  // then end by itself.
  const DWORD waited = WaitForSingleObject(pi.hProcess, 10000);
  DWORD code = 0;
  int result = 0;
  if (waited == WAIT_OBJECT_0 && GetExitCodeProcess(pi.hProcess, &code)) {
    Report("SAVER_EXIT %lu\n", code);
    if (code != 0) result = 1;
  } else {
    Report("SAVER_RUNNING\n");
    TerminateProcess(pi.hProcess, 1);  // our own child: do not leave it behind
    result = 1;
  }
  CloseHandle(pi.hProcess);
  if (!g_sawChild || !g_childFilled) result = result ? result : 2;
  return result;
}
