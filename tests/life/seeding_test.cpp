#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <utility>
#include <vector>

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

// --- The pattern fill modes, on fields of hand-made patterns ---

Pattern Solid(int32_t w, int32_t h) {
  Pattern p;
  p.width = w;
  p.height = h;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) p.cells.push_back({x, y, 1});
  return p;
}

// Counts the cells a reseed tells, and checks each is the one stored.
struct Told : ICellListener {
  const LifeField* field = nullptr;
  int count = 0;
  bool matches = true;
  void CellStored(int32_t column, int32_t row, float value) override {
    ++count;
    seen.push_back({column, row, value});
  }
  struct Cell {
    int32_t x, y;
    float value;
  };
  std::vector<Cell> seen;
  void Check(const LifeField& f) {
    for (const Cell& c : seen) matches = matches && f.Cell(c.x, c.y) == c.value;
  }
};

LifeField FamousField(int32_t columns, int32_t rows, std::vector<const Pattern*> famous) {
  LifeField field;
  field.Resize(columns, rows);
  field.reseed.fillMode = 3;
  field.reseed.famous = std::move(famous);
  return field;
}

// The live cells that lie within `reach` of each other (Chebyshev distance,
// round the torus), each group as its cells.
std::vector<std::vector<std::pair<int32_t, int32_t>>> Groups(const LifeField& f, int32_t reach) {
  std::vector<int> group(static_cast<size_t>(f.columns * f.rows), -1);
  std::vector<std::vector<std::pair<int32_t, int32_t>>> groups;
  for (int32_t y0 = 0; y0 < f.rows; ++y0)
    for (int32_t x0 = 0; x0 < f.columns; ++x0) {
      if (f.Cell(x0, y0) == 0.0f || group[f.Index(x0, y0)] >= 0) continue;
      groups.emplace_back();
      std::vector<std::pair<int32_t, int32_t>> todo = {{x0, y0}};
      group[f.Index(x0, y0)] = static_cast<int>(groups.size() - 1);
      while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        groups.back().push_back({x, y});
        for (int32_t dy = -reach; dy <= reach; ++dy)
          for (int32_t dx = -reach; dx <= reach; ++dx) {
            const int32_t nx = (x + dx + f.columns) % f.columns;
            const int32_t ny = (y + dy + f.rows) % f.rows;
            if (f.Cell(nx, ny) == 0.0f || group[f.Index(nx, ny)] >= 0) continue;
            group[f.Index(nx, ny)] = static_cast<int>(groups.size() - 1);
            todo.push_back({nx, ny});
          }
      }
    }
  return groups;
}

TEST(PatternFill, FamousPatternsKeepTheirMarginsAndCoverAFifth) {
  const Pattern big = Solid(8, 6);
  const Pattern small = Solid(5, 2);
  for (uint32_t seed : {1u, 2u, 3u}) {
    LifeField field = FamousField(80, 60, {&big, &small});
    Told told;
    randomState = seed;
    field.Reseed(&told);
    told.Check(field);
    EXPECT_TRUE(told.matches);
    EXPECT_EQ(field.lastSeed.mode, 3);
    EXPECT_FALSE(field.lastSeed.nothingToPlace);
    // About a fifth: the patterns are placed until their boxes reach it, or
    // until random places have kept failing on a crowded field.
    EXPECT_GE(field.lastSeed.coveredCells, 80u * 60u / 5u * 9u / 10u);
    EXPECT_LT(field.lastSeed.coveredCells, 80u * 60u / 5u + 48u);
    EXPECT_TRUE(field.lastSeed.lastFamous == 0 || field.lastSeed.lastFamous == 1);
    // Solid boxes closer than the margin would merge into one group.
    const auto groups = Groups(field, kPatternMargin);
    ASSERT_EQ(groups.size(), field.lastSeed.placed) << seed;
    int live = 0;
    for (const auto& g : groups) {
      ASSERT_TRUE(g.size() == 48u || g.size() == 10u) << seed << ": a group of " << g.size();
      live += static_cast<int>(g.size());
    }
    EXPECT_EQ(told.count, live);
    EXPECT_EQ(static_cast<uint64_t>(live), field.lastSeed.coveredCells);
  }
}

// Every one of the eight turns and mirror images, and boxes that wrap round
// both edges of the torus.
TEST(PatternFill, FamousPatternsTurnMirrorAndWrap) {
  Pattern ell;  // no symmetry: each orientation is a different shape
  ell.width = 3;
  ell.height = 4;
  ell.cells = {{0, 0, 1}, {0, 1, 1}, {0, 2, 1}, {0, 3, 1}, {1, 3, 1}, {2, 2, 1}};
  std::set<std::set<std::pair<int32_t, int32_t>>> shapes;
  bool wrappedX = false;
  bool wrappedY = false;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    LifeField field = FamousField(30, 30, {&ell});
    randomState = seed;
    field.Reseed(nullptr);
    for (const auto& g : Groups(field, 2)) {
      ASSERT_EQ(g.size(), 6u);
      int32_t minX = 30, minY = 30, maxX = 0, maxY = 0;
      for (auto [x, y] : g) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
      // A group spanning the field crosses its edge: shift it back whole.
      const int32_t shiftX = maxX - minX > 4 ? 10 : 0;
      const int32_t shiftY = maxY - minY > 4 ? 10 : 0;
      wrappedX = wrappedX || shiftX != 0;
      wrappedY = wrappedY || shiftY != 0;
      std::set<std::pair<int32_t, int32_t>> cells;
      for (auto [x, y] : g) cells.insert({(x + shiftX) % 30, (y + shiftY) % 30});
      int32_t left = 30, top = 30;
      for (auto [x, y] : cells) left = std::min(left, x), top = std::min(top, y);
      std::set<std::pair<int32_t, int32_t>> shape;
      for (auto [x, y] : cells) shape.insert({x - left, y - top});
      shapes.insert(shape);
    }
  }
  EXPECT_EQ(shapes.size(), 8u);
  EXPECT_TRUE(wrappedX);
  EXPECT_TRUE(wrappedY);
}

// Left empty, it would stay empty through every later reset.
TEST(PatternFill, FieldTooSmallForAnyPatternFillsAsModeZero) {
  LifeField whole;
  whole.Resize(10, 10);
  randomState = 9;
  whole.Reseed(nullptr);
  const Pattern big = Solid(8, 6);
  LifeField field = FamousField(10, 10, {&big});  // 8 and a margin fit 10 neither way round
  randomState = 9;
  field.Reseed(nullptr);
  EXPECT_EQ(field.lastSeed.mode, 0);
  EXPECT_TRUE(field.lastSeed.nothingToPlace);
  EXPECT_EQ(field.lastSeed.placed, 0u);
  for (int i = 0; i < 10 * 10; ++i) ASSERT_EQ(field.cells[i], whole.cells[i]);
}

TEST(PatternFill, NoPatternForTheRuleFillsAsModeZeroAndSaysSo) {
  LifeField whole;
  whole.Resize(12, 9);
  randomState = 5;
  whole.Reseed(nullptr);
  for (int32_t mode : {3, 4}) {
    LifeField field;
    field.Resize(12, 9);
    field.reseed.fillMode = mode;
    randomState = 5;
    field.Reseed(nullptr);
    EXPECT_TRUE(field.lastSeed.nothingToPlace);
    EXPECT_EQ(field.lastSeed.mode, 0);
    for (int i = 0; i < 12 * 9; ++i) ASSERT_EQ(field.cells[i], whole.cells[i]) << mode;
  }
}

TEST(PatternFill, FamousPatternsAgainOnPeriodicAndAutomaticResets) {
  const Pattern big = Solid(8, 6);
  for (bool periodic : {true, false}) {
    LifeField field = FamousField(60, 40, {&big});
    field.reseed.periodic = periodic;
    field.reseed.period = periodic ? 0 : 1000;
    field.reseed.automatic = !periodic;
    FieldMesh mesh;
    mesh.Build(60, 40, 0);
    field.steadyPopulationCount = periodic ? 0 : field.StagnationLimit() + 1;
    StepFieldAndMesh(field, mesh, StepTuning());
    EXPECT_EQ(field.generation, 1u);
    EXPECT_EQ(field.lastSeed.mode, 3);
    EXPECT_GT(field.lastSeed.placed, 0u);
  }
}

TEST(PatternFill, ChosenPatternIsCentredOrCutAtTheEdges) {
  Pattern p;  // live cells at two corners; a dying state for the Generations rules
  p.width = 5;
  p.height = 3;
  p.cells = {{0, 0, 1}, {4, 2, 1}, {2, 1, 2}, {1, 1, 9}};
  for (int32_t states : {2, 4}) {
    LifeField field;
    field.Resize(11, 8);
    field.rule.states = states;
    field.reseed.fillMode = 4;
    field.reseed.chosen = std::make_shared<Pattern>(p);
    Told told;
    const uint32_t before = randomState;
    field.Reseed(&told);
    EXPECT_EQ(randomState, before);
    EXPECT_FALSE(field.lastSeed.cut);
    EXPECT_EQ(field.Cell(3, 2), 1.0f);
    EXPECT_EQ(field.Cell(7, 4), 1.0f);
    // As the step keeps a newborn cell that died: palette index 1, state 2.
    EXPECT_EQ(field.Cell(5, 3), states == 4 ? -258.0f : 0.0f);
    EXPECT_EQ(field.Cell(4, 3), 0.0f);  // state 9 is none of these rules'
    EXPECT_EQ(told.count, states == 4 ? 3 : 2);
  }
  LifeField narrow;
  narrow.Resize(3, 8);
  narrow.reseed.fillMode = 4;
  narrow.reseed.chosen = std::make_shared<Pattern>(p);
  narrow.Reseed(nullptr);
  EXPECT_TRUE(narrow.lastSeed.cut);
  // (3 - 5) / 2 = -1: the middle three columns remain, no corner wraps in.
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(narrow.Cell(x, y), 0.0f) << x << "," << y;
  narrow.reseed.chosen = std::make_shared<Pattern>(Solid(5, 3));
  narrow.Reseed(nullptr);
  EXPECT_EQ(narrow.Cell(0, 1), 0.0f);
  EXPECT_EQ(narrow.Cell(0, 2), 1.0f);
  EXPECT_EQ(narrow.Cell(2, 4), 1.0f);
  EXPECT_EQ(narrow.Cell(1, 5), 0.0f);
}

// Through the task: the pages' choice, placed by the next reseed and by
// every reseed after it; stored modes beyond 4 fill the whole field.
TEST(PatternFill, TaskPlacesThePagesChoice) {
  auto task = MakeFieldTask(20, 10);
  task->ResetMode = 4;
  task->SetPatternChoice("", "/nowhere/solid.rle", std::make_shared<Pattern>(Solid(4, 2)));
  task->ResetPopulation();
  EXPECT_EQ(task->PatternFile, "/nowhere/solid.rle");
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 20; ++x)
      ASSERT_EQ(CellAt(*task, x, y), x >= 8 && x < 12 && y >= 4 && y < 6 ? 1.0f : 0.0f) << x << "," << y;
  task->ResetMode = 5;
  EXPECT_EQ(task->EffectiveResetMode(), 0);
}

}  // namespace
