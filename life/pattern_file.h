// Reading a pattern file's bytes from a path the settings hold in UTF-8.
// Windows needs the wide file API for such a path (the C runtime's narrow
// one takes the ANSI code page); elsewhere the path is the file system's own.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The whole file into `text`, at most `limit` + 1 bytes, so that a longer
// file still reads as longer than `limit` for the reader to refuse. False
// when the file cannot be opened or read.
bool ReadFileText(const std::string& utf8Path, size_t limit, std::string& text);

// Opens the file for binary reading; null when it cannot. The program's
// (pattern_file_win32.cpp) or the native build's (pattern_file_headless.cpp).
std::FILE* OpenUtf8ForReading(const std::string& utf8Path);
