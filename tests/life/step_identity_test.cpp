// The fast generation step against the plain transcription in oracle_life.cpp:
// cells, vertex colours and counters must agree bit for bit, generation after
// generation, through reseeds, for random rules in both draw modes, Life-like
// and Generations.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <random>
#include <vector>

#include "tests/life/life_test_support.h"
#include "tests/life/oracle_life.h"

namespace {

struct IdentityCase {
  int32_t columns;
  int32_t rows;
  int32_t drawMode;
  bool dieSlowly;
  uint32_t ruleSeed;
  // Colours written with streaming stores whatever the array's size.
  bool streamed = false;
  // A palette of this many random entries instead of the built-in ramp: ages
  // and fading magnitudes beyond it wrap round it.
  int32_t paletteEntries = 0;
  // Four-cell vectors only, where the processor has eight-cell ones.
  bool fourWide = false;
  int32_t states = 2;
};

void PrintTo(const IdentityCase& c, std::ostream* os) {
  *os << c.columns << "x" << c.rows << " mode " << c.drawMode << (c.dieSlowly ? " fading" : " sudden")
      << " rules " << c.ruleSeed << (c.streamed ? " streamed" : "");
  if (c.paletteEntries != 0) *os << " palette " << c.paletteEntries;
  if (c.fourWide) *os << " four wide";
  if (c.states != 2) *os << " states " << c.states;
}

class StepIdentity : public ::testing::TestWithParam<IdentityCase> {};

void ExpectSameState(const VivarnTaskBse& task, const OracleLife& oracle, int generation) {
  const size_t n = static_cast<size_t>(Field(task).columns) * Field(task).rows;
  ASSERT_EQ(std::memcmp(Field(task).cells.get(), oracle.cells.data(), n * sizeof(float)), 0)
      << "cells differ after generation " << generation;
  ASSERT_EQ(std::memcmp(Mesh(task).colours.get(), oracle.colours.data(), oracle.colours.size() * sizeof(Rgba8)), 0)
      << "vertex colours differ after generation " << generation;
  ASSERT_EQ(Field(task).generation, oracle.generation) << generation;
  ASSERT_EQ(Field(task).population, oracle.population) << generation;
  ASSERT_EQ(Field(task).dying, oracle.dying) << generation;
  ASSERT_EQ(Field(task).populationSum, oracle.populationSum) << generation;
  ASSERT_EQ(Field(task).steadyPopulationCount, oracle.steadyPopulationCount) << generation;
  ASSERT_EQ(Field(task).steadyAverageCount, oracle.steadyAverageCount) << generation;
  ASSERT_EQ(std::memcmp(&Field(task).averageAge, &oracle.averageAge, sizeof(float)), 0) << generation;
}

TEST_P(StepIdentity, ThousandGenerationsBitForBit) {
  const IdentityCase& c = GetParam();
  auto task = MakeFieldTask(c.columns, c.rows, c.drawMode);
  if (c.streamed) task->Inside().tuning.streamingColourBytes = 0;
  task->Inside().tuning.allowWideVectors = !c.fourWide;
  std::mt19937 rules(c.ruleSeed);
  if (c.ruleSeed != 0) {
    for (int k = 0; k < 9; ++k) {
      task->RuleBorn[k] = rules() % 4 == 0 ? 1 : 0;
      task->RuleSurvive[k] = rules() % 3 == 0 ? 1 : 0;
    }
    task->RuleBorn[0] = 0;
  }
  task->RuleStates = c.states;
  task->DieSlowly = c.dieSlowly;
  task->DieStep = 0.5f + static_cast<float>(rules() % 100) / 200.0f;
  if (c.paletteEntries != 0) {
    std::vector<uint8_t> bgr(static_cast<size_t>(c.paletteEntries) * 3);
    for (auto& b : bgr) b = static_cast<uint8_t>(rules());
    task->BuildColourTableFromBgr(c.paletteEntries, bgr.data());
  }
  task->SetBkColor(0.0f, 0.0f, 0.3f, 1.0f);
  task->ResetMode = static_cast<int32_t>(c.ruleSeed % 3);
  task->PeriodicResetOn = true;
  task->ResetPeriod = 300;
  task->AutoReset = true;
  randomState = 1000u + c.ruleSeed;
  task->ResetPopulation();
  OracleLife oracle = OracleLife::From(*task, randomState);

  for (int g = 1; g <= 1000; ++g) {
    task->Step();
    oracle.Step();
    ASSERT_NO_FATAL_FAILURE(ExpectSameState(*task, oracle, g));
  }
  EXPECT_EQ(randomState, oracle.random);
}

INSTANTIATE_TEST_SUITE_P(
    RulesModesAndFading, StepIdentity,
    ::testing::Values(IdentityCase{37, 23, 0, true, 0}, IdentityCase{37, 23, 1, true, 0},
                      IdentityCase{37, 23, 0, false, 0}, IdentityCase{37, 23, 1, false, 0},
                      IdentityCase{41, 29, 0, true, 11}, IdentityCase{41, 29, 1, true, 12},
                      IdentityCase{31, 45, 0, false, 13}, IdentityCase{31, 45, 1, false, 14},
                      IdentityCase{53, 19, 1, true, 15}, IdentityCase{1, 7, 0, true, 16},
                      IdentityCase{9, 1, 1, true, 17}, IdentityCase{3, 3, 1, true, 18},
                      IdentityCase{37, 23, 0, true, 0, true}, IdentityCase{41, 29, 1, true, 12, true},
                      IdentityCase{31, 45, 0, false, 13, true}, IdentityCase{53, 19, 1, true, 15, true},
                      IdentityCase{1, 7, 0, true, 16, true}, IdentityCase{9, 1, 1, true, 17, true},
                      IdentityCase{48, 20, 1, true, 19}, IdentityCase{64, 9, 0, true, 20, true},
                      IdentityCase{48, 20, 1, true, 21, true}, IdentityCase{37, 23, 0, true, 0, false, 7},
                      IdentityCase{41, 29, 1, true, 22, true, 7}, IdentityCase{35, 17, 0, true, 23, true, 1},
                      IdentityCase{37, 23, 0, true, 0, false, 7, true}, IdentityCase{41, 29, 1, true, 12, true, 0, true},
                      IdentityCase{64, 9, 0, false, 24, false, 0, true}, IdentityCase{53, 19, 1, true, 15, false, 0, true}));

// Widths cover the eight-, four-cell and single-cell columns; small palettes
// make ages and kept indices wrap; 300 and -5 states act as 2.
INSTANTIATE_TEST_SUITE_P(
    Generations, StepIdentity,
    ::testing::Values(IdentityCase{53, 19, 0, true, 31, false, 0, false, 3},
                      IdentityCase{53, 19, 1, true, 32, false, 0, false, 4},
                      IdentityCase{41, 29, 0, true, 0, true, 0, false, 8},
                      IdentityCase{37, 23, 1, false, 33, false, 7, false, 25},
                      IdentityCase{49, 21, 0, true, 34, false, 0, true, 256},
                      IdentityCase{37, 23, 1, true, 0, false, 0, true, 3},
                      IdentityCase{67, 17, 1, true, 35, true, 1, false, 25},
                      IdentityCase{45, 31, 0, false, 36, true, 7, true, 8},
                      IdentityCase{1, 7, 0, true, 37, false, 0, false, 4},
                      IdentityCase{53, 19, 0, true, 38, false, 0, false, 300},
                      IdentityCase{41, 29, 1, true, 39, false, 0, false, -5}));

TEST(StepIdentityRuleBornZero, EveryEmptyCellBorn) {
  auto task = MakeFieldTask(13, 11, 1);
  task->RuleBorn[0] = 1;
  task->RuleSurvive[8] = 1;
  randomState = 5;
  task->ResetPopulation();
  OracleLife oracle = OracleLife::From(*task, randomState);
  for (int g = 1; g <= 200; ++g) {
    task->Step();
    oracle.Step();
    ASSERT_NO_FATAL_FAILURE(ExpectSameState(*task, oracle, g));
  }
}

}  // namespace
