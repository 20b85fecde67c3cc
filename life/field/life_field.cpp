#include "life/field/life_field.h"

#include <cmath>

bool LifeField::Resize(int32_t columnCount, int32_t rowCount) {
  if (cells && columnCount == columns && rowCount == rows) return false;
  const size_t count = static_cast<size_t>(columnCount) * static_cast<size_t>(rowCount);
  AlignedArray<float> fresh;
  AlignedArray<float> freshNext;
  fresh.Allocate(count);
  fresh.FillZero();
  freshNext.Allocate(count);
  freshNext.FillZero();
  cells = std::move(fresh);
  nextCells = std::move(freshNext);
  columns = columnCount;
  rows = rowCount;
  return true;
}

int32_t LifeField::CountNeighbours(const float* grid, int32_t column, int32_t row) const {
  if (grid == nullptr) return 0;
  static const int kOffsets[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1},
                                     {0, 1},   {1, -1}, {1, 0},  {1, 1}};
  int32_t count = 0;
  for (const auto& offset : kOffsets) {
    int32_t x = column + offset[0];
    int32_t y = row + offset[1];
    if (x < 0) x = columns - 1;
    if (x >= columns) x = 0;
    if (y < 0) y = rows - 1;
    if (y >= rows) y = 0;
    count += grid[Index(x, y)] >= kCellEpsilon ? 1 : 0;
  }
  return count;
}

uint32_t LifeField::StagnationLimit() const {
  const float sumOfSquares = static_cast<float>(columns * columns + rows * rows);
  return static_cast<uint32_t>(std::sqrt(sumOfSquares));
}

bool LifeField::ReseedDue() const {
  if (reseed.periodic && generation >= reseed.period) return true;
  if (reseed.automatic && (steadyAverageCount > reseed.period || steadyPopulationCount > StagnationLimit()))
    return true;
  return false;
}

void LifeField::CountGeneration(uint32_t live, uint32_t ageSum) {
  const uint32_t previousPopulation = population;
  population = live;
  generation += 1;
  averageAge = population != 0 ? static_cast<float>(ageSum) / static_cast<float>(population) : 0.0f;
  if (population == previousPopulation) steadyPopulationCount += 1;
  const uint32_t oldSum = populationSum;
  populationSum += population;
  const double g = static_cast<double>(generation) + 1.0;
  if (static_cast<uint32_t>(static_cast<double>(populationSum) / g) ==
      static_cast<uint32_t>(static_cast<double>(oldSum) / g))
    steadyAverageCount += 1;
}
