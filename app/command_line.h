// The screen saver's command line: which of the three run modes the screen
// saver host asked for. Portable: the Win32 side hands the process command
// line to SplitCommandLine and the arguments to ParseArguments
// (command_line_win32.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Run modes as the parser yields them. Values above kConfigure are the window
// handle given after "/P" (the preview's parent).
enum RunModeValue : uint32_t {
  kFullScreen = 0,
  kPreview = 1,
  kConfigure = 2,
};

// The parse result that means the command line could not be split.
inline constexpr int32_t kCommandLineFailed = -1;

// Reads text as the C run time's 32-bit wcstoul with base 10 does: leading
// white space, an optional sign, then decimal digits up to the first other
// character. No digits give 0; overflow gives 0xFFFFFFFF; a minus sign
// negates modulo 2^32. Written out because the host's wcstoul has a 64-bit
// unsigned long and would disagree with Windows past 32 bits.
uint32_t ReadUnsignedDecimal(const wchar_t* text);

// The mode for an argument vector whose first element is the program name.
// "/P" and "/S" are matched case-insensitively over the whole argument; the
// argument after "/P" is read as a number but still examined as a switch in
// its own turn; the last recognised switch decides; anything else is ignored.
uint32_t ParseArguments(const std::vector<std::wstring>& args);

// Splits a command line as CommandLineToArgvW does: the program name runs to
// the closing quote when it starts with one, else to the first blank; each
// argument after it runs to the next blank outside quotes, where 2n
// backslashes before a quote give n backslashes and the quote opens or closes
// a quoted part, 2n+1 give n and a literal quote, and "" inside a quoted part
// is a literal quote. Written out so that the full-screen start need not load
// shell32 (a DLL the rest of that run never uses) for one call.
std::vector<std::wstring> SplitCommandLine(const wchar_t* line);
