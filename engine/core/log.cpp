#include "engine/core/log.h"

#include <cinttypes>
#include <cstdio>
#include <iostream>
#include <mutex>

namespace {
std::wostream* g_console = &std::wcout;

// One lock for every log: both logs share the console stream, and the loop's
// thread and the main thread may write at the same time.
std::recursive_mutex& WriteLock() {
  static std::recursive_mutex* lock = new std::recursive_mutex();
  return *lock;
}

void PutNarrow(std::wostream& out, const char* text) {
  for (const char* c = text; *c; ++c) out.put(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
}
void PutNarrow(std::ostream& out, const char* text) { out << text; }

template <class S>
void FlushIfGood(S& s) {
  if (!s.bad()) s.flush();
}
}  // namespace

std::string FormatPointer(const void* pointer) {
  char buffer[2 * sizeof(void*) + 1];
  std::snprintf(buffer, sizeof buffer, "%0*" PRIXPTR, static_cast<int>(2 * sizeof(void*)),
                reinterpret_cast<uintptr_t>(pointer));
  return buffer;
}

std::wostream* SetLogConsoleStream(std::wostream* console) {
  std::lock_guard<std::recursive_mutex> guard(WriteLock());
  std::wostream* old = g_console;
  g_console = console;
  return old;
}

VekLogBase::VekLogBase(bool console) { narrowOut.toConsole = console; }

void VekLogBase::OnCreate() {
  wide = true;
  wideOut.toConsole = true;
  wideOut.toFile = false;
}

void VekLogBase::OnDestroy() {
  if (!wideOut.file.bad()) wideOut.file.close();
  if (!narrowOut.file.bad()) narrowOut.file.close();
  (wide ? wideOut.toFile : narrowOut.toFile) = false;
}

void VekLogBase::SetConsole(bool on) { (wide ? wideOut.toConsole : narrowOut.toConsole) = on; }

void VekLogBase::FlushStreams() {
  FlushIfGood(wideOut.file);
  FlushIfGood(narrowOut.file);
}

// Runs `write` on the console when the active stream's console switch is on,
// and on the active stream's file when its file switch is on.
template <class Write>
VekLogBase& VekLogBase::Emit(Write write) {
  std::lock_guard<std::recursive_mutex> guard(WriteLock());
  const bool toConsole = wide ? wideOut.toConsole : narrowOut.toConsole;
  const bool toFile = wide ? wideOut.toFile : narrowOut.toFile;
  if (toConsole && g_console) {
    write(*g_console);
    g_console->flush();
  }
  if (toFile) {
    if (wide) {
      if (!wideOut.file.bad()) write(wideOut.file);
    } else if (!narrowOut.file.bad()) {
      write(narrowOut.file);
    }
  }
  FlushStreams();
  return *this;
}

VekLogBase& VekLogBase::operator<<(const char* text) {
  if (!text) text = "(null)";
  return Emit([text](auto& out) { PutNarrow(out, text); });
}

VekLogBase& VekLogBase::operator<<(const void* pointer) {
  const std::string digits = FormatPointer(pointer);
  return Emit([&digits](auto& out) { PutNarrow(out, digits.c_str()); });
}

VekLogBase& VekLogBase::operator<<(int32_t value) {
  return Emit([value](auto& out) { out << value; });
}

VekLogBase& VekLogBase::operator<<(uint32_t value) {
  return Emit([value](auto& out) { out << value; });
}

VekLogBase& VekLogBase::operator<<(double value) {
  return Emit([value](auto& out) { out << value; });
}

VekLogBase& VekLogBase::operator<<(std::ios_base& (*manipulator)(std::ios_base&)) {
  return Emit([manipulator](auto& out) { out << manipulator; });
}

VekLogBase& LifecycleLog() {
  static VekLogBase* lifecycle = [] {
    static VekLogBase log(false);  // never given a reference: OnCreate never runs
    return &log;
  }();
  return *lifecycle;
}

namespace {
// The main log is the object of a process-wide handle whose reference is
// taken during static initialisation; writers use the plain pointer.
struct MainLogHolder {
  CRefCountPtrT<VekLogBase> handle{new VekLogBase(true)};
};
MainLogHolder& TheMainLog() {
  static MainLogHolder holder;
  return holder;
}
// Both logs exist before main() runs, so they are torn down after every
// singleton released at exit.
[[maybe_unused]] const bool g_logsReady = (LifecycleLog(), TheMainLog(), true);
}  // namespace

VekLogBase& MainLog() { return *TheMainLog().handle.get(); }
