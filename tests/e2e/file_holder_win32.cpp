// Holds a file open the way a running screen saver holds its own file: others
// may read and write it, but nobody can delete or rename it. The installer
// tests use it to stand for a preview that keeps vivarn.scr, or for a scanner
// that keeps the freshly written vivarn.scr.new.
// Usage: file_holder.exe <file> <stop file>
// Prints "HELD" once the file is open (made empty if it did not exist) and
// closes it when the stop file appears, or after two minutes so that a test
// that died cannot leave it held. Exit code 0 when the file was held.
#include <windows.h>

#include <cstdio>

namespace {
constexpr DWORD kDeadlineMs = 120000;
constexpr DWORD kPollMs = 50;
}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: file_holder <file> <stop file>\n");
    return 2;
  }
  HANDLE file = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::printf("FAILED %lu\n", GetLastError());
    return 1;
  }
  std::printf("HELD\n");
  std::fflush(stdout);
  const DWORD started = GetTickCount();
  while (GetFileAttributesW(argv[2]) == INVALID_FILE_ATTRIBUTES && GetTickCount() - started < kDeadlineMs) {
    Sleep(kPollMs);
  }
  CloseHandle(file);
  return 0;
}
