#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/core/kernel.h"
#include "life/overlay_text.h"
#include "tests/life/life_test_support.h"

namespace {

struct TimerCase {
  float lifeSpeed;
  double frameTime;
  int frames;
  uint32_t generations;
};

class GenerationTimer : public ::testing::TestWithParam<TimerCase> {};

TEST_P(GenerationTimer, GenerationsPerFrames) {
  const TimerCase& c = GetParam();
  auto task = MakeFieldTask(8, 8);
  task->AutoReset = false;
  task->PeriodicResetOn = false;
  task->LifeSpeed = c.lifeSpeed;
  for (int f = 0; f < c.frames; ++f) task->AdvanceGenerationTimer(c.frameTime);
  EXPECT_EQ(Field(*task).generation, c.generations);
}

INSTANTIATE_TEST_SUITE_P(
    Speeds, GenerationTimer,
    ::testing::Values(TimerCase{0.0f, 16.7, 60, 60},      // one generation every frame
                      TimerCase{40.0f, 16.7, 60, 25},     // leftover carried: 1002 ms / 40 ms
                      TimerCase{40.0f, 100.0, 10, 10},    // long frames: still one per frame
                      TimerCase{1e30f, 16.7, 120, 2},     // beyond the slowest: every 1000 ms
                      TimerCase{-5.0f, 16.7, 60, 60},     // below 0: as fast as 0
                      TimerCase{NAN, 16.7, 60, 60}));     // NaN: as fast as 0

TEST(GenerationTimerDetail, ThirdFrameStepsAndCarriesTheRest) {
  auto task = MakeFieldTask(8, 8);
  task->LifeSpeed = 40.0f;
  EXPECT_FALSE(task->AdvanceGenerationTimer(16.7));
  EXPECT_FALSE(task->AdvanceGenerationTimer(16.7));
  EXPECT_TRUE(task->AdvanceGenerationTimer(16.7));
  EXPECT_NEAR(task->Inside().generationTimer, 3 * 16.7 - 40.0, 1e-9);
}

TEST(GenerationTimerDetail, AStallCarriesOnePeriodAtMost) {
  auto task = MakeFieldTask(8, 8);
  task->LifeSpeed = 40.0f;
  EXPECT_TRUE(task->AdvanceGenerationTimer(1000.0));
  EXPECT_EQ(task->Inside().generationTimer, 40.0);
  // 56.7 ms, 33.4 ms and 50.1 ms gathered: the next frame, then the usual pace.
  EXPECT_TRUE(task->AdvanceGenerationTimer(16.7));
  EXPECT_FALSE(task->AdvanceGenerationTimer(16.7));
  EXPECT_TRUE(task->AdvanceGenerationTimer(16.7));
}

// Speed position p of the Field page means 1000 / p ms between generations:
// at 60 frames a second, ten seconds give 10 p generations (one either way
// for where the last one falls), where dropping the leftover gave 20 a second
// for 25 and 30 for everything from 31 to 49.
class TrueRate : public ::testing::TestWithParam<int> {};

TEST_P(TrueRate, TenSecondsAtSixtyFramesGiveTenTimesThePosition) {
  const int position = GetParam();
  auto task = MakeFieldTask(8, 8);
  task->AutoReset = false;
  task->PeriodicResetOn = false;
  task->LifeSpeed = 1000.0f / static_cast<float>(position);
  for (int f = 0; f < 600; ++f) task->AdvanceGenerationTimer(1000.0 / 60.0);
  EXPECT_NEAR(static_cast<double>(Field(*task).generation), 10.0 * position, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Positions, TrueRate, ::testing::Values(25, 31, 49));

// The loop's clock for the pacing test below: a 10 MHz counter whose stamps
// start 30 days from the loop's start, then frames of 16.667 ms.
class MonthOldClock : public IKernelPlatform {
 public:
  bool QueryFrequency(int64_t& f) override {
    f = 10'000'000;
    return true;
  }
  bool QueryCounter(int64_t& t) override {
    t = now;
    now += readings++ == 0 ? int64_t{30} * 86'400 * 10'000'000 : 166'670;
    return true;
  }
  void PumpMessages(VekKernelBase&) override {}

 private:
  int64_t now = 0;
  int readings = 0;
};

// Runs after the Life task each frame and notes whether it computed a generation.
class GenerationJournal : public ITask {
 public:
  GenerationJournal(VekKernelBase& k, const VivarnTaskBse& l, std::vector<bool>& out, size_t n)
      : kernel(k), life(l), stepped(out), frames(n) {
    order = 200;
  }
  bool Start() override { return true; }
  void Update() override {
    stepped.push_back(Field(life).generation != last);
    last = Field(life).generation;
    if (stepped.size() == frames) kernel.StopAllTasks();
  }
  void Stop() override {}

 private:
  VekKernelBase& kernel;
  const VivarnTaskBse& life;
  std::vector<bool>& stepped;
  size_t frames;
  uint32_t last = 0;
};

TEST(GenerationTimerDetail, AfterThirtyDaysA50MsSpeedStillStepsEveryThirdFrame) {
  auto task = MakeFieldTask(8, 8);
  task->AutoReset = false;
  task->PeriodicResetOn = false;
  task->LifeSpeed = 50.0f;
  MonthOldClock clock;
  CRefCountPtrT<VekKernelBase> kernel(new VekKernelBase());
  kernel->SetPlatform(&clock);
  std::vector<bool> stepped;
  kernel->AddTask(task.get());
  kernel->AddTask(new GenerationJournal(*kernel, *task, stepped, 600));
  kernel->Run();
  ASSERT_EQ(stepped.size(), 600u);
  // Once the start-up average has faded, three frames make 50.001 ms and two
  // make 33.334 ms: a generation on every third frame, never two frames apart.
  std::vector<size_t> generationFrames;
  for (size_t f = 300; f < 600; ++f)
    if (stepped[f]) generationFrames.push_back(f);
  ASSERT_EQ(generationFrames.size(), 100u);
  for (size_t k = 1; k < generationFrames.size(); ++k)
    EXPECT_EQ(generationFrames[k] - generationFrames[k - 1], 3u) << "frame " << generationFrames[k];
}

TEST(Overlay, StatisticsLinesOneGenerationAfterAReseed) {
  const auto lines = StatisticsLines(StatisticsFormats{}, 5000, 1.5f, 1, 5000);
  EXPECT_EQ(lines[0], "Total        : 5000");
  EXPECT_EQ(lines[1], "Average age  : 1.5");
  EXPECT_EQ(lines[2], "Generation   : 1");
  EXPECT_EQ(lines[3], "Average total: 2500");
}

TEST(Overlay, EmptyPopulationShowsZeroAverageAge) {
  const auto lines = StatisticsLines(StatisticsFormats{}, 0, 0.0f, 0, 0);
  EXPECT_EQ(lines[1], "Average age  : 0.0");
  EXPECT_EQ(lines[3], "Average total: 0");
}

TEST(Overlay, FrameRateLine) { EXPECT_EQ(FrameRateLine(16.0f), "FPS:62.5"); }

TEST(Task, IdentityAndFirstSeed) {
  auto task = MakeFieldTask(40, 30);
  EXPECT_EQ(task->order, 100);
  EXPECT_EQ(task->name, "SimpleLifeTask");
  SetOutputSize(400, 300);
  task->CellSize = 10;
  randomState = 1;
  EXPECT_TRUE(task->Start());
  EXPECT_EQ(Field(*task).columns, 40);
  EXPECT_EQ(CellAt(*task, 0, 0), 1.0f);
  task->frameTime = 16.0f;
  task->Update();
  EXPECT_EQ(Field(*task).generation, 1u);
}

}  // namespace

struct FormatCase {
  const char* format;
  char conversion;
  bool safe;
};

class OverlayFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(OverlayFormat, OnlyOneConversionOfTheExpectedKindIsAccepted) {
  EXPECT_EQ(FormatTakesOne(GetParam().format, GetParam().conversion), GetParam().safe) << GetParam().format;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, OverlayFormat,
    ::testing::Values(FormatCase{"Total        : %d", 'd', true}, FormatCase{"Average age  : %3.1f", 'f', true},
                      FormatCase{"Average total: %u", 'u', true}, FormatCase{"100%% : %-08d", 'd', true},
                      FormatCase{"Total: %s", 'd', false}, FormatCase{"%d of %d", 'd', false},
                      FormatCase{"no number", 'd', false}, FormatCase{"", 'd', false},
                      FormatCase{"%n%d", 'd', false}, FormatCase{"%ld", 'd', false},
                      FormatCase{"%*d", 'd', false}, FormatCase{"age %3.1f%", 'f', false},
                      FormatCase{"%d", 'f', false}));

TEST(Overlay, UnsafeOrMissingFormatsKeepTheBuiltInText) {
  const StatisticsFormats formats =
      CheckedStatisticsFormats({"Alive %d", "Age %s", "", "Mean %u %n"});
  EXPECT_EQ(formats.total, "Alive %d");
  EXPECT_EQ(formats.averageAge, "Average age  : %3.1f");
  EXPECT_EQ(formats.generation, "Generation   : %d");
  EXPECT_EQ(formats.averageTotal, "Average total: %u");
  const auto lines = StatisticsLines(formats, 7, 2.25f, 3, 12);
  EXPECT_EQ(lines[0], "Alive 7");
  EXPECT_EQ(lines[3], "Average total: 3");
}
