// The Life field: a toroidal grid of cell values, the rule they live by, the
// reseeding rules and the counters of their generations. No colours, no GL,
// no lock: its owner (the Life task) guards it and a mesh draws it.
//
// Cell values: positive = live, the value being the age; negative = dying,
// its magnitude the fade left (Life-like rules) or the dying state and the
// palette index the cell died with (Generations rules, see field_step.cpp);
// 0 = empty. Magnitudes below kCellEpsilon count as 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "life/field/aligned_array.h"
#include "life/pattern/pattern.h"

constexpr float kCellEpsilon = 1e-7f;

// What decides the next generation of one cell.
struct LifeRule {
  // Neighbour counts 0..8: born[k] births an empty cell with k live
  // neighbours, survive[k] keeps a live one.
  uint8_t born[9] = {0, 0, 0, 1, 0, 0, 0, 0, 0};
  uint8_t survive[9] = {0, 0, 1, 1, 0, 0, 0, 0, 0};
  // Cell states: 2 (live or not) for the Life-like rules; 3..256 for the
  // Generations rules, where 0 is empty, 1 live (the only state counted as a
  // neighbour) and a live cell that does not survive passes through the
  // dying states 2..states - 1, one a generation whatever its neighbours,
  // and is empty after the last. Other values act as 2.
  int32_t states = 2;
  int32_t StepStates() const { return states >= 2 && states <= 256 ? states : 2; }
  // Life-like rules only: dying cells fade by `dieStep` (held to 0.001..1) a
  // generation instead of going at once.
  bool dieSlowly = true;
  float dieStep = 0.9f;
};

// When and how the field is filled again.
struct ReseedRule {
  // 0 the whole field, 1 a square, 2 a disc in the middle, 3 famous patterns
  // scattered over it, 4 one pattern in the middle (held to these).
  int32_t fillMode = 0;
  // Mode 3 draws from these (patterns that run under the rule; the owner
  // keeps them alive); mode 4 places `chosen`. Either mode with nothing to
  // place fills as mode 0.
  std::vector<const Pattern*> famous;
  std::shared_ptr<const Pattern> chosen;
  bool periodic = true;
  uint32_t period = 1000;  // generations between periodic reseeds
  // Reseed when the population or its running average stagnates.
  bool automatic = true;
};

// What the last reseed did, for its owner to show and log: the field logs
// nothing itself.
struct SeedReport {
  int32_t mode = 0;            // the fill that ran
  bool nothingToPlace = false;  // mode 3 or 4 without a pattern: filled as mode 0
  uint32_t placed = 0;         // patterns placed
  int32_t lastFamous = -1;     // mode 3: the latest placed, as an index into `famous`
  bool cut = false;            // mode 4: the pattern was larger than the field
  uint64_t coveredCells = 0;   // the placed patterns' bounding boxes
};

// Cells of one pattern placed by modes 3 and 4 keep this many empty cells
// between their bounding boxes.
constexpr int32_t kPatternMargin = 3;

// Told of every cell a reseed stores, so a view of the field follows it.
class ICellListener {
 public:
  virtual void CellStored(int32_t column, int32_t row, float value) = 0;

 protected:
  ~ICellListener() = default;
};

class FieldMesh;
struct StepTuning;

class LifeField {
 public:
  // A field of columns x rows empty cells. The same size keeps the cells and
  // answers false; a new one (or the first) answers true.
  bool Resize(int32_t columnCount, int32_t rowCount);

  int32_t CountNeighbours(const float* grid, int32_t column, int32_t row) const;
  float Cell(int32_t column, int32_t row) const { return cells[Index(column, row)]; }
  size_t Index(int32_t column, int32_t row) const {
    return static_cast<size_t>(row) * static_cast<size_t>(columns) + static_cast<size_t>(column);
  }

  // Empties the field, restarts the counters and fills it by the reseed
  // rule's fill mode from the process-wide generator (NextRandom); every
  // cell the fill stores is told to `listener`. `lastSeed` says what it did.
  void Reseed(ICellListener* listener);
  // The periodic and automatic reseed rules, asked before each generation.
  bool ReseedDue() const;
  // The field's diagonal in cells, truncated: the automatic reseed's
  // stagnation limit.
  uint32_t StagnationLimit() const;
  // After a generation of `live` cells whose ages add up to `ageSum`: the
  // generation count, the average age and the stagnation counters.
  void CountGeneration(uint32_t live, uint32_t ageSum);

  int32_t columns = 0;
  int32_t rows = 0;
  AlignedArray<float> cells;
  AlignedArray<float> nextCells;
  LifeRule rule;
  ReseedRule reseed;

  uint32_t generation = 0;
  uint32_t steadyPopulationCount = 0;
  uint32_t population = 0;
  uint32_t populationSum = 0;
  uint32_t steadyAverageCount = 0;
  float averageAge = 0.0f;
  // Cells in a dying state after the last generation (Generations rules;
  // always 0 for the Life-like ones, whose fading cells are no state).
  // `population` counts only the live ones.
  uint32_t dying = 0;
  SeedReport lastSeed;

 private:
  void ScatterFamous(ICellListener* listener);
  void PlaceChosen(ICellListener* listener);
  // Mode 3's bounding boxes placed so far, one byte a cell.
  std::vector<uint8_t> seedMask;
  friend void StepFieldAndMesh(LifeField& field, FieldMesh& mesh, const StepTuning& tuning);
  // Working rows of the generation step, sized by the first generation after
  // a resize, so that the others allocate nothing.
  AlignedArray<uint8_t> stepScratch;
  // The state count of the last generation: dying cells do not carry over
  // between the two families.
  int32_t steppedStates = 2;
};

// Process-wide state of the seeding generator: set once from the calendar
// time at start-up, then changed only by NextRandom (under the task's lock).
extern uint32_t randomState;
// 214013 / 2531011 linear congruence; returns bits 16..30 of the new state.
int32_t NextRandom();
