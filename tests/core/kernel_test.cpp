#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/frame_pacer.h"
#include "engine/core/kernel.h"
#include "tests/support/log_capture.h"

namespace {
// A clock that advances a fixed number of ticks per reading (milliseconds
// unless ticksPerSecond says otherwise).
class FakePlatform : public IKernelPlatform {
 public:
  bool haveCounter = true;
  int64_t ticksPerSecond = 1000;
  int64_t ticksPerReading = 20;
  // Added once, right after the loop's first reading: every later stamp is
  // then that far from the start, as in a loop that has run that long.
  int64_t leapAfterFirstReading = 0;
  int pumps = 0;
  std::function<void(VekKernelBase&)> onPump;

  bool QueryFrequency(int64_t& f) override {
    f = ticksPerSecond;
    return haveCounter;
  }
  bool QueryCounter(int64_t& t) override {
    t = now;
    now += ticksPerReading;
    if (readings++ == 0) now += leapAfterFirstReading;
    return haveCounter;
  }
  void PumpMessages(VekKernelBase& k) override {
    ++pumps;
    if (onPump) onPump(k);
  }

 private:
  int64_t now = 1000;
  int readings = 0;
};

struct Journal {
  std::vector<std::string> events;
  std::vector<double> frameTimes;
};

class ScriptedTask : public ITask {
 public:
  ScriptedTask(Journal& j, std::string id, int32_t sortKey, bool startOk = true)
      : journal(j), startResult(startOk) {
    name = std::move(id);
    order = sortKey;
  }
  ~ScriptedTask() override { journal.events.push_back(name + ".released"); }
  bool Start() override {
    journal.events.push_back(name + ".start");
    return startResult;
  }
  void Update() override {
    journal.events.push_back(name + ".update");
    journal.frameTimes.push_back(frameTime);
    if (onUpdate) onUpdate();
  }
  void Stop() override { journal.events.push_back(name + ".stop"); }

  std::function<void()> onUpdate;

 private:
  Journal& journal;
  bool startResult;
};

class KernelTest : public ::testing::Test {
 protected:
  KernelTest() : kernel(new VekKernelBase()) { kernel->SetPlatform(&platform); }
  ScriptedTask* Add(const std::string& id, int32_t order, bool startOk = true) {
    auto* task = new ScriptedTask(journal, id, order, startOk);
    kernel->AddTask(task);
    return task;
  }
  Journal journal;
  FakePlatform platform;
  CRefCountPtrT<VekKernelBase> kernel;
};
}  // namespace

TEST_F(KernelTest, StartsInAddedOrderThenRunsSortedUntilAllStopped) {
  Add("video", 100000);
  Add("life", 100);
  ScriptedTask* middle = Add("middle", 5000);
  int frames = 0;
  middle->onUpdate = [&] {
    if (++frames == 2) kernel->StopAllTasks();
  };
  LogCapture log;
  EXPECT_EQ(kernel->Run(), 0u);
  EXPECT_EQ(journal.events,
            (std::vector<std::string>{"video.start", "life.start", "middle.start",
                                      "life.update", "middle.update", "video.update",
                                      "life.update", "middle.update",  // video is flagged by now
                                      "video.stop", "video.released",
                                      "life.stop", "life.released", "middle.stop", "middle.released"}));
  EXPECT_EQ(log.Text(),
            "<i> Task:video started successfully\n<i> Task:life started successfully\n"
            "<i> Task:middle started successfully\n");
  EXPECT_EQ(kernel->TaskCount(), 0);
}

TEST_F(KernelTest, FailedStartIsReleasedWithoutStopAndTheNextTaskStillStarts) {
  Add("broken", 1, /*startOk=*/false);
  ScriptedTask* next = Add("next", 2);
  next->onUpdate = [&] { kernel->StopAllTasks(); };
  kernel->Run();
  EXPECT_EQ(journal.events, (std::vector<std::string>{"broken.start", "broken.released", "next.start",
                                                      "next.update", "next.stop", "next.released"}));
}

TEST_F(KernelTest, PausedTaskGetsNoUpdatesButIsStillStopped) {
  ScriptedTask* sleeper = Add("sleeper", 1);
  ScriptedTask* driver = Add("driver", 2);
  sleeper->Pause();
  int frames = 0;
  driver->onUpdate = [&] {
    if (++frames == 3) kernel->StopAllTasks();
  };
  kernel->Run();
  EXPECT_EQ(std::count(journal.events.begin(), journal.events.end(), "sleeper.update"), 0);
  EXPECT_EQ(std::count(journal.events.begin(), journal.events.end(), "sleeper.stop"), 1);
}

TEST_F(KernelTest, FrameTimeStartsAt51AndFollowsTheSmoothing) {
  ScriptedTask* task = Add("t", 1);
  task->onUpdate = [&] {
    if (journal.frameTimes.size() == 4) kernel->StopAllTasks();
  };
  kernel->Run();
  ASSERT_EQ(journal.frameTimes.size(), 4u);
  double expected = 0.85 * 60.0;
  EXPECT_DOUBLE_EQ(journal.frameTimes[0], 51.0);
  for (size_t i = 1; i < 4; ++i) {
    expected = 0.85 * expected + 0.15 * 20.0;
    EXPECT_DOUBLE_EQ(journal.frameTimes[i], expected) << "frame " << i;
  }
}

TEST_F(KernelTest, AfterThirtyDaysTheFrameTimeStillSettlesOnTheTrueDuration) {
  // A 10 MHz counter (as on current Windows) and frames of 16.667 ms, with
  // the loop's stamps already 30 days from its start.
  platform.ticksPerSecond = 10'000'000;
  platform.ticksPerReading = 166'670;
  platform.leapAfterFirstReading = int64_t{30} * 86'400 * 10'000'000;
  ScriptedTask* task = Add("t", 1);
  task->onUpdate = [&] {
    if (journal.frameTimes.size() == 300) kernel->StopAllTasks();
  };
  kernel->Run();
  ASSERT_EQ(journal.frameTimes.size(), 300u);
  EXPECT_DOUBLE_EQ(journal.frameTimes[0], 51.0);
  // 0.85^250 of the 34 ms start-up difference is far below the tolerance.
  for (size_t i = 250; i < 300; ++i) EXPECT_NEAR(journal.frameTimes[i], 16.667, 1e-6) << "frame " << i;
}

TEST_F(KernelTest, WithoutACounterTheFrameTimeStaysAtTheInitialAverage) {
  platform.haveCounter = false;
  ScriptedTask* task = Add("t", 1);
  task->onUpdate = [&] {
    if (journal.frameTimes.size() == 3) kernel->StopAllTasks();
  };
  kernel->Run();
  EXPECT_EQ(journal.frameTimes, (std::vector<double>{60.0, 60.0, 60.0}));
}

TEST_F(KernelTest, EmptyListReturnsAtOnceWithoutPumping) {
  EXPECT_EQ(kernel->Run(), 0u);
  EXPECT_EQ(platform.pumps, 0);
}

TEST_F(KernelTest, AbortLogsTheCodeInHexAndStopsEverything) {
  ScriptedTask* task = Add("t", 1);
  task->onUpdate = [&] { kernel->Abort(87); };
  LogCapture log;
  kernel->Run();
  kernel->Abort(0);
  const std::string text = log.Text();
  EXPECT_NE(text.find("<!> msg << (code:57)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("<!> msg << (code:0)\n"), std::string::npos) << text;
  EXPECT_EQ(std::count(journal.events.begin(), journal.events.end(), "t.update"), 1);
}

TEST_F(KernelTest, HandlersAreOfferedMessagesInOrderUntilOneConsumes) {
  struct Handler : IWindowMsgHandler {
    std::vector<uint32_t>* seen;
    uint32_t consumes;
    intptr_t HandleMessage(NativeWindow, uint32_t m, MessageWParam, MessageLParam, bool& handled) override {
      seen->push_back(m);
      handled = (m == consumes);
      return 0;
    }
  };
  std::vector<uint32_t> firstSeen, secondSeen;
  Handler first, second;
  first.seen = &firstSeen;
  first.consumes = 1;
  second.seen = &secondSeen;
  second.consumes = 2;
  EXPECT_FALSE(kernel->DispatchMsg(nullptr, 7, 0, 0));  // no handlers yet
  EXPECT_EQ(kernel->AddMsgHandler(&first), 0);
  EXPECT_EQ(kernel->AddMsgHandler(&second), 1);
  EXPECT_TRUE(kernel->DispatchMsg(nullptr, 1, 0, 0));
  EXPECT_TRUE(kernel->DispatchMsg(nullptr, 2, 0, 0));
  EXPECT_FALSE(kernel->DispatchMsg(nullptr, 3, 0, 0));
  EXPECT_EQ(firstSeen, (std::vector<uint32_t>{1, 2, 3}));
  EXPECT_EQ(secondSeen, (std::vector<uint32_t>{2, 3}));
}

TEST_F(KernelTest, StopAllTasksFromAnotherThreadEndsTheLoop) {
  // Real time here: the loop spins freely on its own thread.
  kernel->SetPlatform(&DefaultKernelPlatform());
  std::atomic<int> updates{0};
  ScriptedTask* a = Add("a", 1);
  Add("b", 2);
  a->onUpdate = [&] { updates.fetch_add(1); };
  auto done = std::async(std::launch::async, [&] { return kernel->Run(); });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (updates.load() < 50 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  kernel->StopAllTasks();
  ASSERT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(done.get(), 0u);
  EXPECT_GE(updates.load(), 50);
  EXPECT_EQ(kernel->TaskCount(), 0);
}

TEST(FramePacer, WaitsForWhatIsLeftAndCountsFromTheDeadlineOrTheLateEnd) {
  FramePacer pacer;
  pacer.Begin(1000, 0);
  EXPECT_EQ(pacer.FrameDone(300), 700);
  // The wait overshot by 50 ticks: the period still counts from 1000.
  EXPECT_EQ(pacer.FrameDone(1250), 750);
  // Late (deadline 3000): no wait, and the next deadline is a period after
  // this frame's end, with no catching up.
  EXPECT_EQ(pacer.FrameDone(3500), 0);
  EXPECT_EQ(pacer.FrameDone(3600), 900);
  // Vertical sync held the swap until the deadline or just past it.
  EXPECT_EQ(pacer.FrameDone(5500), 0);
  EXPECT_EQ(pacer.FrameDone(6502), 0);
  pacer.Begin(0, 0);
  EXPECT_EQ(pacer.FrameDone(1), 0);
}

TEST(FramePacer, PeriodFollowsTheRefreshRateAndCapsPreviews) {
  EXPECT_DOUBLE_EQ(FramePeriodMs(0, false), 1000.0 / 60);
  EXPECT_DOUBLE_EQ(FramePeriodMs(1, false), 1000.0 / 60);
  EXPECT_DOUBLE_EQ(FramePeriodMs(144, false), 1000.0 / 144);
  EXPECT_DOUBLE_EQ(FramePeriodMs(144, true), 1000.0 / 30);
  EXPECT_DOUBLE_EQ(FramePeriodMs(1, true), 1000.0 / 30);
  EXPECT_DOUBLE_EQ(FramePeriodMs(25, true), 1000.0 / 25);
}

namespace {
// Milliseconds that pass only when a frame works or the loop waits; each
// wait ends `overshoot` late, as a real one may.
class PacedClock : public IKernelPlatform {
 public:
  int64_t now = 0;
  int64_t overshoot = 2;
  std::vector<int64_t> waitedUntil;
  int endWaits = 0;
  bool QueryFrequency(int64_t& f) override {
    f = 1000;
    return true;
  }
  bool QueryCounter(int64_t& t) override {
    t = now;
    return true;
  }
  void PumpMessages(VekKernelBase&) override {}
  void WaitUntil(int64_t counter) override {
    waitedUntil.push_back(counter);
    now = std::max(now, counter) + overshoot;
  }
  void EndWaits() override { ++endWaits; }
};
}  // namespace

TEST(KernelPacing, FramesWaitForTheirDeadlinesAndALateFrameIsNotMadeUp) {
  PacedClock clock;
  CRefCountPtrT<VekKernelBase> kernel(new VekKernelBase());
  kernel->SetPlatform(&clock);
  kernel->SetFramePeriod(16.0);
  Journal journal;
  auto* task = new ScriptedTask(journal, "draw", 1);
  // Frame 3 runs late; frame 5 ends on its deadline, as a swap held by
  // vertical sync does.
  const std::vector<int64_t> work = {4, 4, 40, 4, 14};
  size_t frame = 0;
  task->onUpdate = [&] {
    clock.now += work[frame];
    if (++frame == work.size()) kernel->StopAllTasks();
  };
  kernel->AddTask(task);
  LogCapture log;
  kernel->Run();
  EXPECT_EQ(clock.waitedUntil, (std::vector<int64_t>{16, 32, 90}));
  EXPECT_EQ(clock.endWaits, 1);
}

namespace {
// A display that refreshes every `blankUs` microseconds and a swap that, with
// vertical sync, holds the frame until the next blank. The clock moves only
// when a frame works, swaps or the loop waits (a little late, as real waits
// end).
class VsyncDisplay : public IKernelPlatform {
 public:
  double blankUs = 1e6 / 59.94;
  int64_t now = 0;
  std::vector<int64_t> shownAtBlank;
  bool QueryFrequency(int64_t& f) override {
    f = 1'000'000;
    return true;
  }
  bool QueryCounter(int64_t& t) override {
    t = now;
    return true;
  }
  void PumpMessages(VekKernelBase&) override {}
  void WaitUntil(int64_t counter) override { now = std::max(now, counter) + 50; }
  void Swap() {
    const auto blank = static_cast<int64_t>(std::ceil(static_cast<double>(now) / blankUs));
    now = static_cast<int64_t>(std::ceil(static_cast<double>(blank) * blankUs));
    shownAtBlank.push_back(blank);
  }
  // Blanks between the first and the last frame that showed no new frame.
  int64_t SkippedBlanks() const {
    return shownAtBlank.back() - shownAtBlank.front() + 1 - static_cast<int64_t>(shownAtBlank.size());
  }
};

int64_t SkippedBlanksWithVsync(double periodMs, int64_t renderUs) {
  VsyncDisplay display;
  CRefCountPtrT<VekKernelBase> kernel(new VekKernelBase());
  kernel->SetPlatform(&display);
  kernel->SetFramePeriod(periodMs);
  Journal journal;
  auto* task = new ScriptedTask(journal, "draw", 1);
  task->onUpdate = [&] {
    display.now += renderUs;
    display.Swap();
    if (display.shownAtBlank.size() == 600) kernel->StopAllTasks();
  };
  kernel->AddTask(task);
  kernel->Run();
  return display.SkippedBlanks();
}
}  // namespace

TEST(KernelPacing, WithVerticalSyncA5994HzDisplayReportedAs59SkipsNoBlank) {
  for (const int64_t renderUs : {1000, 8000, 12000}) {
    EXPECT_EQ(SkippedBlanksWithVsync(FramePeriodMs(59, 0.0, false, true), renderUs), 0) << renderUs << " us";
    EXPECT_EQ(SkippedBlanksWithVsync(FramePeriodMs(59, 59.94, false, true), renderUs), 0) << renderUs << " us";
  }
  // Paced on top of the swap at the reported rate, frames drift past blanks.
  EXPECT_GT(SkippedBlanksWithVsync(FramePeriodMs(59, false), 8000), 5);
}

TEST(FramePacer, TheCompositorsExactRateCountsWhenItIsTheWindowsDisplays) {
  EXPECT_DOUBLE_EQ(RefreshHz(59, 59.94), 59.94);
  EXPECT_DOUBLE_EQ(RefreshHz(60, 59.94), 59.94);  // a driver that rounds
  EXPECT_DOUBLE_EQ(RefreshHz(60, 144.0), 60.0);   // the compositor times another monitor
  EXPECT_DOUBLE_EQ(RefreshHz(59, 0.0), 59.0);
  EXPECT_DOUBLE_EQ(RefreshHz(1, 0.0), 60.0);
  EXPECT_DOUBLE_EQ(FramePeriodMs(59, 59.94, false, false), 1000.0 / 59.94);
  EXPECT_DOUBLE_EQ(FramePeriodMs(144, 0.0, true, true), 1000.0 / 30);
}

TEST(KernelPacing, APeriodSetWhileTheLoopRunsTakesEffectAfterThatFrame) {
  PacedClock clock;
  CRefCountPtrT<VekKernelBase> kernel(new VekKernelBase());
  kernel->SetPlatform(&clock);
  kernel->SetFramePeriod(16.0);
  Journal journal;
  auto* task = new ScriptedTask(journal, "draw", 1);
  int frame = 0;
  task->onUpdate = [&] {
    clock.now += 4;
    ++frame;
    if (frame == 2) kernel->SetFramePeriod(32.0);  // counted from this frame's start, 16
    if (frame == 3) kernel->SetFramePeriod(0.0);
    if (frame == 5) kernel->StopAllTasks();
  };
  kernel->AddTask(task);
  kernel->Run();
  EXPECT_EQ(clock.waitedUntil, (std::vector<int64_t>{16, 48}));
  EXPECT_EQ(clock.endWaits, 1);
}

namespace {
struct PreviewRun {
  int generations = 0;
  int mostInOneFrame = 0;
  int inTheSecondAfterTheStall = 0;
};

// A preview paced to 30 frames a second on a 60 Hz display, frames of 5 ms
// work, for `seconds` of clock time; one frame at `stallAtMs` works 2 s.
PreviewRun RunPreview(int position, int64_t seconds, int64_t stallAtMs = -1) {
  PacedClock clock;
  CRefCountPtrT<VekKernelBase> kernel(new VekKernelBase());
  kernel->SetPlatform(&clock);
  kernel->SetFramePeriod(FramePeriodMs(60, true));
  kernel->SetDisplayPeriod(1000.0 / 60);
  Journal journal;
  auto* task = new ScriptedTask(journal, "life", 1);
  PreviewRun run;
  double timer = 0.0;
  int64_t stallEnd = -1;
  task->onUpdate = [&] {
    const int due = DueGenerations(timer, task->frameDuration, 1000.0 / position, task->refreshesPerFrame);
    run.generations += due;
    run.mostInOneFrame = std::max(run.mostInOneFrame, due);
    if (stallEnd >= 0 && clock.now < stallEnd + 1000) run.inTheSecondAfterTheStall += due;
    clock.now += 5;
    if (stallAtMs >= 0 && stallEnd < 0 && clock.now >= stallAtMs) {
      clock.now += 2000;
      stallEnd = clock.now;
    }
    if (clock.now >= seconds * 1000) kernel->StopAllTasks();
  };
  kernel->AddTask(task);
  kernel->Run();
  return run;
}
}  // namespace

TEST(GenerationPacing, APreviewAt30FramesShowsTheRateThePositionNames) {
  // Ten seconds at position p: 10 p generations, give or take the last one.
  EXPECT_NEAR(RunPreview(30, 10).generations, 300, 2);
  EXPECT_NEAR(RunPreview(45, 10).generations, 450, 2);
  // Beyond the display's 60 a second: what full screen shows, two a frame
  // (the clock's whole milliseconds make the frames 33 ms: 303 of them).
  EXPECT_NEAR(RunPreview(100, 10).generations, 606, 2);
}

TEST(GenerationPacing, AStallIsNotMadeUpInABurst) {
  for (const int position : {30, 45}) {
    const PreviewRun run = RunPreview(position, 12, 5000);
    EXPECT_LE(run.mostInOneFrame, 2) << position;
    EXPECT_LE(run.inTheSecondAfterTheStall, position + 2) << position;
    // The stalled 2 s are lost, not caught up.
    EXPECT_NEAR(run.generations, 10 * position, 3) << position;
  }
}

TEST(GenerationPacing, ProgressTowardsTheNextGenerationRunsOnlyWhenAFrameHoldsAtMostOne) {
  // 250 ms a generation, 16.7 ms frames: the timer's share of the period.
  double timer = 0.0;
  DueGenerations(timer, 100.0, 250.0, 1);
  EXPECT_DOUBLE_EQ(GenerationProgress(timer, 16.7, 250.0), 0.4);
  DueGenerations(timer, 160.0, 250.0, 1);
  EXPECT_NEAR(GenerationProgress(timer, 16.7, 250.0), 0.04, 1e-9);  // just past a generation
  EXPECT_EQ(GenerationProgress(250.0, 16.7, 250.0), 1.0);
  EXPECT_EQ(GenerationProgress(-1.0, 16.7, 250.0), 0.0);
  // Faster than the frames, or as fast as possible: the generation as it is.
  EXPECT_EQ(GenerationProgress(5.0, 16.7, 10.0), 1.0);
  EXPECT_EQ(GenerationProgress(5.0, 16.7, 0.0), 1.0);
}

namespace {
// A clock that moves only when a frame works or the loop waits; a wait for a
// message lasts an hour, and each pump runs the next scripted step.
class SleepyHost : public IKernelPlatform {
 public:
  int64_t now = 0;
  int messageWaits = 0;
  std::vector<int64_t> waitedUntil;
  std::function<void(VekKernelBase&)> onPump;
  bool QueryFrequency(int64_t& f) override {
    f = 1000;
    return true;
  }
  bool QueryCounter(int64_t& t) override {
    t = now;
    return true;
  }
  void PumpMessages(VekKernelBase& k) override {
    if (onPump) onPump(k);
  }
  void WaitUntil(int64_t counter) override {
    waitedUntil.push_back(counter);
    now = std::max(now, counter);
  }
  void WaitForMessage() override {
    ++messageWaits;
    now += 3600 * 1000;
  }
};
}  // namespace

TEST(KernelSleep, AsleepNothingRunsTheLoopWaitsForMessagesAndTheSleepIsNoFrameTime) {
  SleepyHost host;
  CRefCountPtrT<VekKernelBase> kernel(new VekKernelBase());
  kernel->SetPlatform(&host);
  Journal journal;
  auto* task = new ScriptedTask(journal, "draw", 1);
  std::vector<double> durations;
  int frames = 0;
  task->onUpdate = [&] {
    durations.push_back(task->frameDuration);
    host.now += 5;
    if (++frames == 3) kernel->StopAllTasks();
  };
  kernel->AddTask(task);
  int sleeps = 0;
  kernel->beforeSleep = [](void* count) { ++*static_cast<int*>(count); };
  kernel->beforeSleepContext = &sleeps;
  // Pump 2 puts the loop to sleep; pumps 3 and 4 find it still asleep (each
  // after a message wait); pump 5 wakes it.
  int pumps = 0;
  host.onPump = [&](VekKernelBase& k) {
    ++pumps;
    if (pumps == 2) k.SetAsleep(true);
    if (pumps == 5) k.SetAsleep(false);
  };
  LogCapture log;
  kernel->Run();
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(sleeps, 1);
  EXPECT_EQ(host.messageWaits, 3);
  ASSERT_EQ(durations.size(), 3u);
  // The frames after the sleep are timed from the wake-up, not across the hours asleep.
  EXPECT_LT(durations[1], 100.0);
  EXPECT_LT(durations[2], 100.0);
}

TEST(KernelSleep, AStopWhileAsleepEndsTheLoopWithoutWaitingAgain) {
  SleepyHost host;
  CRefCountPtrT<VekKernelBase> kernel(new VekKernelBase());
  kernel->SetPlatform(&host);
  Journal journal;
  kernel->AddTask(new ScriptedTask(journal, "draw", 1));
  int pumps = 0;
  host.onPump = [&](VekKernelBase& k) {
    if (++pumps == 1) k.SetAsleep(true);
    if (pumps == 3) k.StopAllTasks();  // a key press in the dark
  };
  LogCapture log;
  kernel->Run();
  EXPECT_EQ(std::count(journal.events.begin(), journal.events.end(), "draw.update"), 0);
  EXPECT_EQ(std::count(journal.events.begin(), journal.events.end(), "draw.stop"), 1);
  EXPECT_EQ(host.messageWaits, 2);
}

TEST(KernelSleep, ADivisorStretchesThePeriodAndEachFrameStandsForMoreRefreshes) {
  SleepyHost host;
  CRefCountPtrT<VekKernelBase> kernel(new VekKernelBase());
  kernel->SetPlatform(&host);
  kernel->SetFramePeriod(16.0);
  kernel->SetDisplayPeriod(16.0);
  Journal journal;
  auto* task = new ScriptedTask(journal, "draw", 1);
  std::vector<int32_t> refreshes;
  task->onUpdate = [&] {
    refreshes.push_back(task->refreshesPerFrame);
    host.now += 4;
    if (refreshes.size() == 1) kernel->SetFrameRateDivisor(2);
    if (refreshes.size() == 3) kernel->StopAllTasks();
  };
  kernel->AddTask(task);
  LogCapture log;
  kernel->Run();
  EXPECT_EQ(refreshes, (std::vector<int32_t>{1, 2, 2}));
  // The first frame's deadline already follows the change made during it.
  EXPECT_EQ(host.waitedUntil, (std::vector<int64_t>{32, 64, 96}));
}
