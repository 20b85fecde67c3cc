#include "app/command_line.h"

#include <cwctype>

namespace {
// Only ASCII letters fold: the switches are ASCII, and folding other letters
// by the host's locale could make a foreign word match "/S".
wchar_t FoldAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool IsSwitch(const std::wstring& arg, const wchar_t* upperSwitch) {
  size_t i = 0;
  for (; i < arg.size() && upperSwitch[i] != L'\0'; ++i) {
    if (FoldAscii(arg[i]) != upperSwitch[i]) return false;
  }
  return i == arg.size() && upperSwitch[i] == L'\0';
}
}  // namespace

uint32_t ReadUnsignedDecimal(const wchar_t* text) {
  const wchar_t* p = text;
  while (*p != L'\0' && std::iswspace(static_cast<wint_t>(*p))) ++p;
  bool negative = false;
  if (*p == L'+' || *p == L'-') {
    negative = (*p == L'-');
    ++p;
  }
  uint64_t value = 0;
  bool overflow = false;
  for (; *p >= L'0' && *p <= L'9'; ++p) {
    value = value * 10 + static_cast<uint64_t>(*p - L'0');
    if (value > 0xFFFFFFFFull) {
      overflow = true;
      value = 0xFFFFFFFFull;  // keep reading digits, the result is fixed now
    }
  }
  if (overflow) return 0xFFFFFFFFu;
  const uint32_t result = static_cast<uint32_t>(value);
  return negative ? static_cast<uint32_t>(0u - result) : result;
}

uint32_t ParseArguments(const std::vector<std::wstring>& args) {
  uint32_t mode = kConfigure;
  for (size_t i = 1; i < args.size(); ++i) {
    if (IsSwitch(args[i], L"/P")) {
      mode = kFullScreen;
      if (i + 1 < args.size()) mode = ReadUnsignedDecimal(args[i + 1].c_str());
    } else if (IsSwitch(args[i], L"/S")) {
      mode = kFullScreen;
    }
  }
  return mode;
}

std::vector<std::wstring> SplitCommandLine(const wchar_t* line) {
  std::vector<std::wstring> args;
  if (line == nullptr) return args;
  const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
  const wchar_t* p = line;
  std::wstring name;
  if (*p == L'"') {
    for (++p; *p != L'\0' && *p != L'"'; ++p) name += *p;
    if (*p == L'"') ++p;
  } else {
    for (; *p != L'\0' && !blank(*p); ++p) name += *p;
  }
  args.push_back(name);
  for (;;) {
    while (blank(*p)) ++p;
    if (*p == L'\0') break;
    std::wstring arg;
    bool quoted = false;
    while (*p != L'\0' && (quoted || !blank(*p))) {
      if (*p == L'\\') {
        size_t backslashes = 0;
        for (; *p == L'\\'; ++p) ++backslashes;
        if (*p == L'"') {
          arg.append(backslashes / 2, L'\\');
          if (backslashes % 2 == 1) {
            arg += L'"';
            ++p;
          }
        } else {
          arg.append(backslashes, L'\\');
        }
      } else if (*p == L'"') {
        if (quoted && p[1] == L'"') {
          arg += L'"';
          p += 2;
        } else {
          quoted = !quoted;
          ++p;
        }
      } else {
        arg += *p++;
      }
    }
    args.push_back(arg);
  }
  return args;
}
