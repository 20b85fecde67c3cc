#include <gtest/gtest.h>

#include "life/overlay_text.h"
#include "tests/life/life_test_support.h"

namespace {

struct TimerCase {
  float lifeSpeed;
  float frameTime;
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
  EXPECT_EQ(task->generation, c.generations);
}

INSTANTIATE_TEST_SUITE_P(
    Speeds, GenerationTimer,
    ::testing::Values(TimerCase{0.0f, 16.7f, 60, 60},     // one generation every frame
                      TimerCase{40.0f, 16.7f, 60, 20},    // every third frame: leftover dropped
                      TimerCase{40.0f, 100.0f, 10, 10}));  // long frames: still one per frame

TEST(GenerationTimerDetail, ThirdFrameStepsAndResetsTheTimer) {
  auto task = MakeFieldTask(8, 8);
  task->LifeSpeed = 40.0f;
  EXPECT_FALSE(task->AdvanceGenerationTimer(16.7f));
  EXPECT_FALSE(task->AdvanceGenerationTimer(16.7f));
  EXPECT_TRUE(task->AdvanceGenerationTimer(16.7f));
  EXPECT_EQ(task->generationTimer, 0.0f);
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
  EXPECT_EQ(task->columns, 40);
  EXPECT_EQ(CellAt(*task, 0, 0), 1.0f);
  task->frameTime = 16.0f;
  task->Update();
  EXPECT_EQ(task->generation, 1u);
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
