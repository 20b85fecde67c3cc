#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "tests/life/life_test_support.h"

namespace {

using Cells = std::set<std::pair<int, int>>;

Cells LiveCells(const VivarnTaskBse& task) {
  Cells live;
  for (int y = 0; y < Field(task).rows; ++y)
    for (int x = 0; x < Field(task).columns; ++x)
      if (CellAt(task, x, y) > 0.0f) live.insert({x, y});
  return live;
}

TEST(FieldStep, BlinkerAgesDiesAndCounts) {
  auto task = MakeFieldTask(7, 7);
  PutCell(*task, 2, 3, 1.0f);
  PutCell(*task, 3, 3, 1.0f);
  PutCell(*task, 4, 3, 1.0f);
  Field(*task).population = 3;
  task->PeriodicResetOn = false;

  task->Step();

  EXPECT_EQ(CellAt(*task, 3, 3), 2.0f);
  EXPECT_EQ(CellAt(*task, 2, 3), -1.0f);
  EXPECT_EQ(CellAt(*task, 4, 3), -1.0f);
  EXPECT_EQ(CellAt(*task, 3, 2), 1.0f);
  EXPECT_EQ(CellAt(*task, 3, 4), 1.0f);
  EXPECT_EQ(Field(*task).population, 3u);
  EXPECT_EQ(Field(*task).steadyPopulationCount, 1u);
  EXPECT_FLOAT_EQ(Field(*task).averageAge, 4.0f / 3.0f);
  EXPECT_EQ(Field(*task).generation, 1u);
  EXPECT_EQ(Field(*task).populationSum, 3u);
}

TEST(FieldStep, GliderWrapsAcrossBothEdgesKeepingItsShape) {
  auto task = MakeFieldTask(10, 10);
  task->AutoReset = false;
  task->PeriodicResetOn = false;
  // A glider heading right (+x) and up (+y) one cell every four generations.
  const Cells shape = {{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
  for (const auto& c : shape) PutCell(*task, c.first + 6, c.second + 6, 1.0f);

  for (int k = 1; k <= 10; ++k) {
    for (int g = 0; g < 4; ++g) task->Step();
    Cells expected;
    for (const auto& c : shape) expected.insert({(c.first + 6 + k) % 10, (c.second + 6 + k) % 10});
    ASSERT_EQ(LiveCells(*task), expected) << "after " << 4 * k << " generations";
  }
}

TEST(FieldStep, DyingCellFadesByDieStepAndSnapsToZero) {
  auto task = MakeFieldTask(5, 5);
  task->AutoReset = false;
  task->PeriodicResetOn = false;
  PutCell(*task, 2, 2, 3.0f);
  task->Step();
  ASSERT_EQ(CellAt(*task, 2, 2), -3.0f);
  float expected = -3.0f;
  int generations = 0;
  while (expected != 0.0f) {
    const float faded = expected * 0.9f;
    expected = std::fabs(faded) < 1e-7f ? 0.0f : faded;
    task->Step();
    ASSERT_EQ(CellAt(*task, 2, 2), expected);
    ++generations;
    ASSERT_LT(generations, 1000);
  }
  EXPECT_GT(generations, 100);  // 3 x 0.9^n falls below 1e-7 only after ~160 steps
  EXPECT_FLOAT_EQ(-3.0f * 0.9f, -2.7f);
}

TEST(FieldStep, DieSlowlyOffEmptiesAtOnce) {
  auto task = MakeFieldTask(5, 5);
  task->DieSlowly = false;
  PutCell(*task, 2, 2, 3.0f);
  task->Step();
  EXPECT_EQ(CellAt(*task, 2, 2), 0.0f);
}

TEST(FieldStep, ZombieCellsNeverFade) {
  auto task = MakeFieldTask(5, 5);
  task->AutoReset = false;
  task->PeriodicResetOn = false;
  task->DieStep = 1.0f;
  PutCell(*task, 2, 2, 3.0f);
  for (int g = 0; g < 200; ++g) task->Step();
  EXPECT_EQ(CellAt(*task, 2, 2), -3.0f);
}

TEST(FieldStep, FadingOutsideTheRulesPageRangeUsesTheDefault) {
  for (float factor : {1.5f, 0.0f, -0.5f, NAN}) {
    auto task = MakeFieldTask(5, 5);
    task->AutoReset = false;
    task->PeriodicResetOn = false;
    task->SetDieStep(factor);
    PutCell(*task, 2, 2, -3.0f);
    task->Step();
    EXPECT_EQ(CellAt(*task, 2, 2), -3.0f * 0.9f) << factor;
    if (!std::isnan(factor)) {
      EXPECT_EQ(task->DieStep, factor);  // kept as given, used as 0.9
    }
  }
}

TEST(FieldStep, DyingCellWithBirthCountIsReborn) {
  auto task = MakeFieldTask(6, 6);
  PutCell(*task, 1, 1, 1.0f);
  PutCell(*task, 2, 1, 1.0f);
  PutCell(*task, 3, 1, 1.0f);
  PutCell(*task, 2, 2, -2.5f);
  task->Step();
  EXPECT_EQ(CellAt(*task, 2, 2), 1.0f);
}

TEST(FieldStep, DyingCellsAreNotNeighbours) {
  auto task = MakeFieldTask(6, 6);
  PutCell(*task, 1, 1, -5.0f);
  PutCell(*task, 2, 1, -5.0f);
  PutCell(*task, 3, 1, -5.0f);
  task->Step();
  EXPECT_EQ(CellAt(*task, 2, 2), 0.0f);
  EXPECT_EQ(Field(*task).population, 0u);
  // A cell that stays empty gets no colour: its vertices are cleared.
  const Rgba8 vertex = Mesh(*task).colours[static_cast<size_t>((2 * 2) * (2 * 6) + 2 * 2)];
  EXPECT_EQ(vertex.a, 0);
  EXPECT_EQ(vertex.r, 0);
}

TEST(FieldStep, BornOnZeroFillsAnEmptyField) {
  auto task = MakeFieldTask(6, 4);
  task->RuleBorn[0] = 1;
  task->Step();
  EXPECT_EQ(Field(*task).population, 24u);
  EXPECT_EQ(LiveCells(*task).size(), 24u);
}

TEST(FieldStep, EmptyFieldCountsSteadyAverageEveryGeneration) {
  auto task = MakeFieldTask(8, 8);
  task->AutoReset = false;
  task->PeriodicResetOn = false;
  for (int g = 0; g < 5; ++g) task->Step();
  EXPECT_EQ(Field(*task).averageAge, 0.0f);
  EXPECT_EQ(Field(*task).populationSum, 0u);
  EXPECT_EQ(Field(*task).steadyAverageCount, 5u);
  EXPECT_EQ(Field(*task).steadyPopulationCount, 5u);
}

TEST(FieldStep, ChangingPopulationLeavesSteadyCountAlone) {
  auto task = MakeFieldTask(8, 8);
  PutCell(*task, 3, 3, 1.0f);  // a lone cell: population goes 0 (was 5) then stays 0
  Field(*task).population = 5;
  task->Step();
  EXPECT_EQ(Field(*task).population, 0u);
  EXPECT_EQ(Field(*task).steadyPopulationCount, 0u);
}

TEST(FieldStep, SteadyAverageUsesTruncatedAverages) {
  auto task = MakeFieldTask(8, 8);
  task->AutoReset = false;
  task->PeriodicResetOn = false;
  // A block: 4 live cells every generation. Sums 4, 8, 12 over g = 2, 3, 4:
  // 4/2 = 2 vs 0/2 = 0 differs; 8/3 = 2 vs 4/3 = 1 differs; 12/4 = 3 vs 8/4 = 2 differs.
  for (auto c : {std::pair<int, int>{2, 2}, {3, 2}, {2, 3}, {3, 3}}) PutCell(*task, c.first, c.second, 1.0f);
  for (int g = 0; g < 3; ++g) task->Step();
  EXPECT_EQ(Field(*task).steadyAverageCount, 0u);
  EXPECT_EQ(Field(*task).populationSum, 12u);
}

TEST(FieldSize, FollowsCellSizeAndKeepsCellsWhenUnchanged) {
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  SetOutputSize(1024, 768);
  task->CellSize = 10;
  task->ApplyCellSize();
  EXPECT_EQ(Field(*task).columns, 102);
  EXPECT_EQ(Field(*task).rows, 76);
  PutCell(*task, 5, 5, 1.0f);

  task->SetCellSize(20);
  task->ApplyCellSize();
  EXPECT_EQ(Field(*task).columns, 51);
  EXPECT_EQ(Field(*task).rows, 38);
  EXPECT_EQ(Mesh(*task).indexCount, 51 * 38 * 6);
  for (int i = 0; i < 51 * 38; ++i) ASSERT_EQ(Field(*task).cells[i], 0.0f);

  PutCell(*task, 5, 5, 1.0f);
  task->ApplyCellSize();
  EXPECT_EQ(CellAt(*task, 5, 5), 1.0f);
}

TEST(FieldSize, CellSizeSetterStoresUntilTheFieldExistsThenResizesIt) {
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  SetOutputSize(1024, 768);
  task->SetCellSize(20);  // as the loader sets it, before Start
  EXPECT_EQ(Field(*task).columns, 0);
  task->ApplyCellSize();
  EXPECT_EQ(Field(*task).columns, 51);
  task->SetCellSize(10);  // as a page sets it: the field and its mesh follow
  EXPECT_EQ(Field(*task).columns, 102);
  EXPECT_EQ(Field(*task).rows, 76);
  EXPECT_EQ(Mesh(*task).indexCount, 102 * 76 * 6);
}

TEST(FieldSize, FollowingTheOutputReseedsANewSizeAndKeepsOneThatStillFits) {
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  SetOutputSize(1024, 768);
  task->CellSize = 10;
  task->ApplyCellSize();
  PutCell(*task, 5, 5, 1.0f);
  SetOutputSize(1020, 769);  // the same 102 x 76 cells
  task->FollowOutputSize();
  EXPECT_EQ(CellAt(*task, 5, 5), 1.0f);
  task->Step();
  SetOutputSize(1280, 1024);
  task->FollowOutputSize();
  EXPECT_EQ(Field(*task).columns, 128);
  EXPECT_EQ(Field(*task).rows, 102);
  EXPECT_EQ(Field(*task).generation, 0u);
  int live = 0;
  for (int i = 0; i < 128 * 102; ++i) live += Field(*task).cells[i] != 0.0f ? 1 : 0;
  EXPECT_GT(live, 0);
}

TEST(FieldSize, CellSizeBelowOneIsTreatedAsTen) {
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  SetOutputSize(1024, 768);
  for (int32_t size : {0, -3}) {
    task->CellSize = size;
    task->ApplyCellSize();
    EXPECT_EQ(task->EffectiveCellSize(), 10);
    EXPECT_EQ(Field(*task).columns, 102);
  }
}

TEST(FieldSize, OutputSmallerThanACellGivesAnEmptyFieldThatStillSteps) {
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  SetOutputSize(8, 600);
  task->CellSize = 10;
  task->ApplyCellSize();
  EXPECT_EQ(Field(*task).columns, 0);
  task->ResetPopulation();
  task->Step();
  EXPECT_EQ(Field(*task).generation, 1u);
  EXPECT_EQ(Field(*task).population, 0u);
}

TEST(FieldNeighbours, WrapAroundTheTorus) {
  auto task = MakeFieldTask(5, 4);
  PutCell(*task, 4, 3, 1.0f);  // diagonal neighbour of (0, 0) across both edges
  PutCell(*task, 0, 3, 2.0f);
  PutCell(*task, 4, 0, -1.0f);  // dying: not counted
  EXPECT_EQ(Field(*task).CountNeighbours(Field(*task).cells.get(), 0, 0), 2);
  EXPECT_EQ(Field(*task).CountNeighbours(nullptr, 0, 0), 0);
}

}  // namespace

namespace {

Rgba8 VertexColour(const VivarnTaskBse& task, int32_t x, int32_t y) {
  return Mesh(task).colours[static_cast<size_t>(2 * y) * (2 * Mesh(task).columns) + 2 * x];
}

TEST(FieldStepGenerations, ALoneCellFadesThroughTheDyingStatesInItsColour) {
  auto task = MakeFieldTask(7, 7);
  task->PeriodicResetOn = false;
  task->AutoReset = false;
  const uint8_t born[9] = {0, 0, 1, 0, 0, 0, 0, 0, 0}, survive[9] = {};
  task->SetRule(born, survive, 4);
  task->SetBkColor(0.0f, 0.0f, 1.0f, 1.0f);
  PutCell(*task, 3, 3, 1.0f);
  const Rgba8 entry = Mesh(*task).paletteColours[1];

  const uint8_t alphas[2] = {170, 85};  // (4 - k) / 3 for states 2 and 3
  for (const uint8_t alpha : alphas) {
    task->Step();
    EXPECT_LT(CellAt(*task, 3, 3), 0.0f);
    const Rgba8 c = VertexColour(*task, 3, 3);
    EXPECT_EQ((std::array<int, 4>{c.r, c.g, c.b, c.a}), (std::array<int, 4>{entry.r, entry.g, entry.b, alpha}));
    EXPECT_EQ(Field(*task).population, 0u);
    EXPECT_EQ(Field(*task).dying, 1u);
  }
  task->Step();
  EXPECT_EQ(CellAt(*task, 3, 3), 0.0f);
  const Rgba8 gone = VertexColour(*task, 3, 3);
  EXPECT_EQ((std::array<int, 4>{gone.r, gone.g, gone.b, gone.a}), (std::array<int, 4>{0, 0, 255, 255}));
  EXPECT_EQ(Field(*task).dying, 0u);
  EXPECT_EQ(task->RuleStates, 4);
  task->SetRule(born, born);  // keeps the state count
  EXPECT_EQ(task->RuleStates, 4);
}

TEST(FieldStepGenerations, DyingCellsDoNotCarryOverToTheLifeLikeFamily) {
  auto task = MakeFieldTask(7, 7);
  task->PeriodicResetOn = false;
  task->AutoReset = false;
  task->RuleStates = 25;
  PutCell(*task, 3, 3, 1.0f);
  task->Step();
  ASSERT_LT(CellAt(*task, 3, 3), 0.0f);
  task->RuleStates = 2;
  task->Step();
  EXPECT_EQ(CellAt(*task, 3, 3), 0.0f);
}

}  // namespace

namespace {

// Two tasks with the same soup of `states` states in draw mode `mode`.
CRefCountPtrT<VivarnTaskBse> Soup(int32_t mode, int32_t states) {
  auto task = MakeFieldTask(70, 23, mode);
  task->PeriodicResetOn = false;
  task->AutoReset = false;
  task->RuleStates = states;
  task->DieStep = 0.5f;
  randomState = 4242u;
  task->ResetPopulation();
  for (int g = 0; g < 4; ++g) task->Step();
  return task;
}

}  // namespace

class FieldStepValuesOnly : public ::testing::TestWithParam<std::pair<int32_t, int32_t>> {};

// The shader path's step writes the cells the whole step writes and leaves
// the colours alone; the repaint then gives the colours the whole step gave.
TEST_P(FieldStepValuesOnly, StepsTheSameCellsAndRepaintsTheStepsColours) {
  const auto [mode, states] = GetParam();
  auto painted = Soup(mode, states);
  auto valuesOnly = Soup(mode, states);
  Mesh(*valuesOnly).valuesOnly = true;
  const std::vector<Rgba8> before(Mesh(*valuesOnly).colours.get(),
                                  Mesh(*valuesOnly).colours.get() + Mesh(*valuesOnly).colourCount);
  const uint32_t steps = Mesh(*valuesOnly).valueSteps;
  for (int g = 0; g < 3; ++g) {
    painted->Step();
    valuesOnly->Step();
  }
  EXPECT_EQ(Mesh(*valuesOnly).valueSteps, steps + 3);
  const size_t cells = static_cast<size_t>(Field(*painted).columns) * Field(*painted).rows;
  EXPECT_EQ(std::memcmp(Field(*painted).cells.get(), Field(*valuesOnly).cells.get(), cells * sizeof(float)), 0);
  EXPECT_EQ(Field(*painted).population, Field(*valuesOnly).population);
  EXPECT_EQ(Field(*painted).dying, Field(*valuesOnly).dying);
  EXPECT_EQ(Field(*painted).averageAge, Field(*valuesOnly).averageAge);
  EXPECT_EQ(std::memcmp(before.data(), Mesh(*valuesOnly).colours.get(), before.size() * sizeof(Rgba8)), 0);

  RepaintFieldColours(Field(*valuesOnly), Mesh(*valuesOnly));
  size_t differing = 0;
  for (int32_t i = 0; i < Mesh(*painted).colourCount; ++i)
    differing += std::memcmp(&Mesh(*painted).colours[i], &Mesh(*valuesOnly).colours[i], sizeof(Rgba8)) != 0;
  EXPECT_EQ(differing, 0u);
}

INSTANTIATE_TEST_SUITE_P(ModesAndFamilies, FieldStepValuesOnly,
                         ::testing::Values(std::make_pair(0, 2), std::make_pair(1, 2), std::make_pair(0, 7),
                                           std::make_pair(1, 7)));
