// The engine's trace log: a small tee that writes each item to the console
// (wide standard output) and/or to a file stream, by two switches per stream.
// Two process-wide logs exist: LifecycleLog() takes the "created"/"destroyed"
// lines of engine objects, MainLog() the event lines with a level prefix
// ("<i> ", "<!> ", "<~> "). Portable: no platform headers.
#pragma once

#include <cstdint>
#include <fstream>
#include <ios>
#include <ostream>
#include <string>

#include "engine/core/ref_count.h"

template <class Stream>
struct LogStream {
  Stream file;
  bool toFile = false;
  bool toConsole = false;
};
using LogStreamW = LogStream<std::wofstream>;
using LogStreamA = LogStream<std::ofstream>;

class VekLogBase : public IRefCountPtrBase {
 public:
  explicit VekLogBase(bool console);

  void OnCreate() override;
  void OnDestroy() override;

  void SetConsole(bool on);
  bool IsWide() const { return wide; }
  LogStreamW& WideStream() { return wideOut; }
  LogStreamA& NarrowStream() { return narrowOut; }

  VekLogBase& operator<<(const char* text);
  VekLogBase& operator<<(const std::string& text) { return *this << text.c_str(); }
  VekLogBase& operator<<(const void* pointer);
  VekLogBase& operator<<(int32_t value);
  VekLogBase& operator<<(uint32_t value);
  VekLogBase& operator<<(double value);
  VekLogBase& operator<<(std::ios_base& (*manipulator)(std::ios_base&));

 private:
  template <class Write>
  VekLogBase& Emit(Write write);
  void FlushStreams();

  bool wide = false;
  LogStreamW wideOut;
  LogStreamA narrowOut;
};

VekLogBase& LifecycleLog();
VekLogBase& MainLog();

// The console stream both logs share; tests point it at a string stream.
// Returns the previous stream.
std::wostream* SetLogConsoleStream(std::wostream* console);

// An address as the Windows runtime's "%p" prints it: upper-case hexadecimal,
// two digits per byte of a pointer, no prefix.
std::string FormatPointer(const void* pointer);
