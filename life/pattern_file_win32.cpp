#include <windows.h>

#include <string>

#include "life/pattern_file.h"

std::FILE* OpenUtf8ForReading(const std::string& utf8Path) {
  // Bytes that are not UTF-8 name no file.
  const int length = static_cast<int>(utf8Path.size());
  const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Path.data(), length, nullptr, 0);
  if (size <= 0) return nullptr;
  std::wstring wide(static_cast<size_t>(size), L'\0');
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Path.data(), length, &wide[0], size) != size)
    return nullptr;
  return _wfopen(wide.c_str(), L"rb");
}
