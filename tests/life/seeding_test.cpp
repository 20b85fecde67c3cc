#include <gtest/gtest.h>

#include <cmath>

#include "tests/life/life_test_support.h"

namespace {

uint32_t AdvancedState(uint32_t state, int draws) {
  for (int i = 0; i < draws; ++i) state = state * 214013u + 2531011u;
  return state;
}

TEST(Seeding, NextRandomFromOneGivesFortyOneAndALiveFirstCell) {
  randomState = 1;
  EXPECT_EQ(NextRandom(), 41);
  EXPECT_EQ(randomState, 1u * 214013u + 2531011u);

  auto task = MakeFieldTask(6, 5);
  task->ResetMode = 0;
  randomState = 1;
  task->ResetPopulation();
  EXPECT_EQ(CellAt(*task, 0, 0), 1.0f);
  EXPECT_EQ(randomState, AdvancedState(1, 30));
}

TEST(Seeding, ResetClearsCountersButKeepsPopulation) {
  auto task = MakeFieldTask(6, 5);
  Field(*task).generation = 7;
  Field(*task).steadyPopulationCount = 3;
  Field(*task).populationSum = 99;
  Field(*task).steadyAverageCount = 4;
  Field(*task).averageAge = 2.5f;
  Field(*task).population = 12;
  task->ResetMode = 1;  // the central square of a 6 x 5 field has no cells
  PutCell(*task, 1, 1, 4.0f);
  const uint32_t before = randomState;
  task->ResetPopulation();
  EXPECT_EQ(Field(*task).generation, 0u);
  EXPECT_EQ(Field(*task).steadyPopulationCount, 0u);
  EXPECT_EQ(Field(*task).populationSum, 0u);
  EXPECT_EQ(Field(*task).steadyAverageCount, 0u);
  EXPECT_EQ(Field(*task).averageAge, 0.0f);
  EXPECT_EQ(Field(*task).population, 12u);
  EXPECT_EQ(CellAt(*task, 1, 1), 0.0f);
  EXPECT_EQ(randomState, before);
}

TEST(Seeding, StoredModesOutsideTheListFillLikeTheFullField) {
  auto full = MakeFieldTask(12, 9);
  full->ResetMode = 0;
  randomState = 99;
  full->ResetPopulation();
  int live = 0;
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 12; ++x) live += CellAt(*full, x, y) != 0.0f;
  ASSERT_GT(live, 0);
  for (int32_t mode : {7, -1}) {
    auto task = MakeFieldTask(12, 9);
    task->ResetMode = mode;
    randomState = 99;
    task->ResetPopulation();
    EXPECT_EQ(task->ResetMode, mode);
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 12; ++x) ASSERT_EQ(CellAt(*task, x, y), CellAt(*full, x, y)) << mode << ": " << x << "," << y;
  }
}

TEST(Seeding, CentralSquareOn102x76) {
  auto task = MakeFieldTask(102, 76);
  task->ResetMode = 1;
  randomState = 12345;
  task->ResetPopulation();
  int live = 0;
  for (int y = 0; y < 76; ++y)
    for (int x = 0; x < 102; ++x)
      if (CellAt(*task, x, y) != 0.0f) {
        ASSERT_TRUE(x >= 39 && x <= 62 && y >= 29 && y <= 46) << x << "," << y;
        ++live;
      }
  EXPECT_GT(live, 24 * 18 / 4);
  EXPECT_EQ(randomState, AdvancedState(12345, 24 * 18));
}

TEST(Seeding, CentralDiscOn102x76) {
  auto task = MakeFieldTask(102, 76);
  task->ResetMode = 2;
  randomState = 777;
  task->ResetPopulation();
  int inDisc = 0;
  for (int y = 31; y <= 44; ++y)
    for (int x = 44; x <= 57; ++x)
      if (static_cast<int>(std::sqrt(static_cast<float>((38 - y) * (38 - y) + (51 - x) * (51 - x)))) <= 7) ++inDisc;
  int live = 0;
  for (int y = 0; y < 76; ++y)
    for (int x = 0; x < 102; ++x)
      if (CellAt(*task, x, y) != 0.0f) {
        const int d2 = (x - 51) * (x - 51) + (y - 38) * (y - 38);
        ASSERT_TRUE(x >= 44 && x <= 57 && y >= 31 && y <= 44) << x << "," << y;
        ASSERT_LT(d2, 64) << x << "," << y;
        ++live;
      }
  EXPECT_GT(live, 0);
  // One random number per visited cell inside the disc, none for the others.
  EXPECT_EQ(randomState, AdvancedState(777, inDisc));
}

TEST(Seeding, DiscHasNoRadiusBelowTenCells) {
  auto task = MakeFieldTask(9, 40);
  task->ResetMode = 2;
  const uint32_t before = randomState;
  task->ResetPopulation();
  for (int i = 0; i < 9 * 40; ++i) ASSERT_EQ(Field(*task).cells[i], 0.0f);
  EXPECT_EQ(randomState, before);
}

TEST(ResetRules, StagnantFieldReseedsAfterDiagonalPlusOneGenerations) {
  auto task = MakeFieldTask(102, 76);
  EXPECT_EQ(Field(*task).StagnationLimit(), 127u);
  task->PeriodicResetOn = false;
  task->AutoReset = true;
  for (auto c : {std::pair<int, int>{2, 2}, {3, 2}, {2, 3}, {3, 3}}) PutCell(*task, c.first, c.second, 1.0f);
  Field(*task).population = 4;
  for (int g = 1; g <= 128; ++g) {
    task->Step();
    ASSERT_EQ(Field(*task).generation, static_cast<uint32_t>(g));
  }
  EXPECT_EQ(Field(*task).steadyPopulationCount, 128u);
  task->Step();
  EXPECT_EQ(Field(*task).generation, 1u);  // reseeded before this generation
}

TEST(ResetRules, StagnantFieldNeverReseedsWithoutAutoReset) {
  auto task = MakeFieldTask(102, 76);
  task->PeriodicResetOn = false;
  task->AutoReset = false;
  for (auto c : {std::pair<int, int>{2, 2}, {3, 2}, {2, 3}, {3, 3}}) PutCell(*task, c.first, c.second, 1.0f);
  for (int g = 0; g < 1500; ++g) task->Step();
  EXPECT_EQ(Field(*task).generation, 1500u);
  EXPECT_EQ(CellAt(*task, 2, 2), 1501.0f);
}

TEST(ResetRules, PeriodZeroReseedsBeforeEveryGeneration) {
  auto task = MakeFieldTask(20, 20);
  task->PeriodicResetOn = true;
  task->ResetPeriod = 0;
  task->AutoReset = false;
  for (int g = 0; g < 5; ++g) {
    task->Step();
    ASSERT_EQ(Field(*task).generation, 1u);
  }
}

TEST(ResetRules, PeriodicResetShowsPeriodGenerations) {
  auto task = MakeFieldTask(20, 20);
  task->PeriodicResetOn = true;
  task->ResetPeriod = 3;
  task->AutoReset = false;
  const uint32_t expected[] = {1, 2, 3, 1, 2, 3, 1};
  for (uint32_t want : expected) {
    task->Step();
    ASSERT_EQ(Field(*task).generation, want);
  }
}

TEST(ResetRules, SteadyAverageAboveResetPeriodReseeds) {
  auto task = MakeFieldTask(20, 20);
  task->PeriodicResetOn = false;
  task->AutoReset = true;
  task->ResetPeriod = 2;
  Field(*task).steadyAverageCount = 3;
  Field(*task).generation = 9;
  EXPECT_TRUE(task->ReseedDue());
  Field(*task).steadyAverageCount = 2;
  EXPECT_FALSE(task->ReseedDue());
}

}  // namespace
