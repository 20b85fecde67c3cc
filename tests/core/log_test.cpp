#include <gtest/gtest.h>

#include <cstdint>

#include "engine/core/log.h"
#include "tests/support/log_capture.h"

TEST(Log, ActiveStreamSwitchesDecideWhatIsWritten) {
  LogCapture capture;
  VekLogBase log(false);  // narrow stream active, console off
  EXPECT_EQ(&(log << "nothing " << 5 << 2.5), &log);
  EXPECT_EQ(capture.Text(), "");

  log.SetConsole(true);
  log << "narrow " << 7 << "\n";
  EXPECT_EQ(capture.Text(), "narrow 7\n");

  // After OnCreate the wide stream is active: the narrow switches no longer count.
  log.OnCreate();
  capture.Clear();
  log.NarrowStream().toConsole = false;
  log << "wide\n";
  EXPECT_EQ(capture.Text(), "wide\n");
  log.NarrowStream().toConsole = true;
  log.SetConsole(false);
  log << "hidden\n";
  EXPECT_EQ(capture.Text(), "wide\n");
}

TEST(Log, PointersAreSixteenUpperCaseDigitsWhateverTheBase) {
  const void* p = reinterpret_cast<const void*>(uintptr_t{0xabc123});
  EXPECT_EQ(FormatPointer(p), std::string(2 * sizeof(void*) - 6, '0') + "ABC123");
  LogCapture capture;
  LifecycleLog().SetConsole(true);
  LifecycleLog() << "Thing this:" << std::hex << p << std::dec << " created\n";
  LifecycleLog().SetConsole(false);
  EXPECT_EQ(capture.Text(), "Thing this:" + FormatPointer(p) + " created\n");
}

TEST(Log, HexThenDecRestoresDecimalForTheNextLine) {
  LogCapture capture;
  MainLog() << "<!> " << "msg << (code:" << std::hex << 255 << std::dec << ")\n";
  MainLog() << "<i> " << 255 << " " << 0.5 << " " << 1234567.0 << "\n";
  EXPECT_EQ(capture.Text(), "<!> msg << (code:ff)\n<i> 255 0.5 1.23457e+06\n");
}

TEST(Log, OnDestroyClosesFilesAndClearsTheActiveFileSwitch) {
  VekLogBase log(false);
  log.OnCreate();
  log.WideStream().toFile = true;
  log << "to a closed file is harmless\n";
  log.OnDestroy();
  EXPECT_FALSE(log.WideStream().toFile);
  EXPECT_FALSE(log.WideStream().file.is_open());
}
