// A plain, unhurried transcription of the generation step and the reseed, to
// compare the task's fast step against bit for bit. It keeps its own copy of
// everything it touches, including its own random state.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/life/life_test_support.h"

struct OracleLife {
  int32_t columns = 0;
  int32_t rows = 0;
  std::vector<float> cells;
  std::vector<float> nextCells;
  std::vector<Rgba8> colours;
  int32_t drawMode = 0;
  uint8_t ruleBorn[9] = {};
  uint8_t ruleSurvive[9] = {};
  int32_t states = 2;  // as the task stores it; outside 2..256 it acts as 2
  bool dieSlowly = true;
  float dieStep = 0.9f;
  float bkColor[4] = {};
  std::vector<Rgba8> table;
  int32_t tableSize = 0;
  int32_t resetMode = 0;
  bool periodicResetOn = false;
  uint32_t resetPeriod = 1000;
  bool autoReset = true;
  uint32_t random = 1;

  uint32_t generation = 0;
  uint32_t steadyPopulationCount = 0;
  uint32_t population = 0;
  uint32_t populationSum = 0;
  uint32_t steadyAverageCount = 0;
  float averageAge = 0.0f;
  uint32_t dying = 0;

  // Copies the task's settings, colour table, cells, colours and counters.
  static OracleLife From(const VivarnTaskBse& task, uint32_t randomSeed);

  int32_t NextRandom();
  int32_t CountNeighbours(const std::vector<float>& grid, int32_t x, int32_t y) const;
  Rgba8 CellColour(float v) const;
  void SetCell(std::vector<float>& grid, int32_t x, int32_t y, float v);
  void PaintVertices(int32_t x, int32_t y, Rgba8 k);
  int32_t PaletteIndex(int32_t i) const;
  // Generations: cell (x, y) of the next grid in dying state `state`, drawn
  // with palette entry `index`.
  void SetDying(int32_t x, int32_t y, int32_t index, int32_t state);
  void ResetPopulation();
  void Step();
};
