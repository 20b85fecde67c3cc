#include "tests/life/oracle_life.h"

#include <algorithm>
#include <cmath>
#include <cstring>

OracleLife OracleLife::From(const VivarnTaskBse& task, uint32_t randomSeed) {
  OracleLife o;
  o.columns = Field(task).columns;
  o.rows = Field(task).rows;
  const size_t n = static_cast<size_t>(Field(task).columns) * Field(task).rows;
  o.cells.assign(Field(task).cells.get(), Field(task).cells.get() + n);
  o.nextCells.assign(n, 0.0f);
  o.colours.assign(Mesh(task).colours.get(), Mesh(task).colours.get() + Mesh(task).colourCount);
  o.drawMode = task.FieldDrawMode;
  std::memcpy(o.ruleBorn, task.RuleBorn, 9);
  std::memcpy(o.ruleSurvive, task.RuleSurvive, 9);
  o.states = task.RuleStates;
  o.dieSlowly = task.DieSlowly;
  o.dieStep = task.DieStep;
  std::memcpy(o.bkColor, task.BkColor, sizeof o.bkColor);
  o.tableSize = Mesh(task).paletteSize;
  o.table.assign(Mesh(task).paletteColours.get(), Mesh(task).paletteColours.get() + Mesh(task).paletteSize);
  o.resetMode = task.ResetMode;
  o.periodicResetOn = task.PeriodicResetOn;
  o.resetPeriod = task.ResetPeriod;
  o.autoReset = task.AutoReset;
  o.random = randomSeed;
  o.generation = Field(task).generation;
  o.steadyPopulationCount = Field(task).steadyPopulationCount;
  o.population = Field(task).population;
  o.populationSum = Field(task).populationSum;
  o.steadyAverageCount = Field(task).steadyAverageCount;
  o.averageAge = Field(task).averageAge;
  o.dying = Field(task).dying;
  return o;
}

int32_t OracleLife::NextRandom() {
  random = random * 214013u + 2531011u;
  return static_cast<int32_t>((random >> 16) & 0x7FFF);
}

int32_t OracleLife::CountNeighbours(const std::vector<float>& grid, int32_t x, int32_t y) const {
  const int32_t offsets[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
  int32_t count = 0;
  for (int k = 0; k < 8; ++k) {
    int32_t nx = x + offsets[k][0];
    int32_t ny = y + offsets[k][1];
    if (nx == -1) nx = columns - 1;
    if (nx == columns) nx = 0;
    if (ny == -1) ny = rows - 1;
    if (ny == rows) ny = 0;
    const float v = grid[ny * columns + nx];
    if (v > 0.0f && !(std::fabs(v) < 1e-7f)) count++;
  }
  return count;
}

namespace {
// 0..1 to 0..255, rounded to the nearest.
uint8_t Byte(float c) {
  if (c <= 0.0f) return 0;
  if (c >= 1.0f) return 255;
  return static_cast<uint8_t>(c * 255.0f + 0.5f);
}
}  // namespace

Rgba8 OracleLife::CellColour(float v) const {
  if (std::fabs(v) < 1e-7f) return Rgba8{Byte(bkColor[0]), Byte(bkColor[1]), Byte(bkColor[2]), 255};
  if (v < 0.0f) {
    const float a = std::fabs(v);
    int32_t i = static_cast<int32_t>(a);
    if (i >= tableSize) i = i % tableSize;
    return Rgba8{table[i].r, table[i].g, table[i].b, Byte(1.0f - 1.0f / (a + 1.0f))};
  }
  int32_t i = static_cast<int32_t>(v);
  if (i >= tableSize) i = i % tableSize;
  return Rgba8{table[i].r, table[i].g, table[i].b, 255};
}

void OracleLife::SetCell(std::vector<float>& grid, int32_t x, int32_t y, float v) {
  PaintVertices(x, y, CellColour(v));
  grid[y * columns + x] = v;
}

int32_t OracleLife::PaletteIndex(int32_t i) const { return i >= tableSize ? i % tableSize : i; }

// A dying cell is stored as -(index * 256 + state), its index kept to 16 bits.
void OracleLife::SetDying(int32_t x, int32_t y, int32_t index, int32_t state) {
  const int32_t kept = index % 65536;
  const float alpha = static_cast<float>(states - state) / static_cast<float>(states - 1);
  PaintVertices(x, y, Rgba8{table[kept].r, table[kept].g, table[kept].b, Byte(alpha)});
  nextCells[y * columns + x] = -static_cast<float>(kept * 256 + state);
  dying += 1;
}

void OracleLife::PaintVertices(int32_t x, int32_t y, Rgba8 k) {
  auto put = [&](int32_t vertex) { colours[vertex] = k; };
  if (drawMode == 0) {
    for (int dy = 0; dy < 2; ++dy)
      for (int dx = 0; dx < 2; ++dx) put((2 * y + dy) * (2 * columns) + 2 * x + dx);
  } else {
    put(y * (columns + 1) + x);
    if (x == columns - 1 && y == rows - 1) put(rows * (columns + 1) + columns);
    if (x == columns - 1) put(y * (columns + 1) + columns);
    if (y == rows - 1) put(rows * (columns + 1) + x);
  }
}

void OracleLife::ResetPopulation() {
  std::fill(cells.begin(), cells.end(), 0.0f);
  std::fill(nextCells.begin(), nextCells.end(), 0.0f);
  steadyPopulationCount = 0;
  generation = 0;
  populationSum = 0;
  steadyAverageCount = 0;
  averageAge = 0.0f;
  const int32_t W = columns;
  const int32_t H = rows;
  auto randomCell = [this] { return (2 * NextRandom()) / 32768 == 0 ? 1.0f : 0.0f; };
  if (resetMode == 0) {
    for (int32_t x = 0; x < W; x++)
      for (int32_t y = 0; y < H; y++) SetCell(cells, x, y, randomCell());
  } else if (resetMode == 1) {
    for (int32_t x = W / 2 - W / 8; x < W / 2 + W / 8; x++)
      for (int32_t y = H / 2 - H / 8; y < H / 2 + H / 8; y++) SetCell(cells, x, y, randomCell());
  } else if (resetMode == 2) {
    const int32_t R = std::min(W, H) / 10;
    for (int32_t y = H / 2 - R; y < H / 2 + R; y++) {
      for (int32_t x = W / 2 - R; x < W / 2 + R; x++) {
        const int32_t sum = (H / 2 - y) * (H / 2 - y) + (W / 2 - x) * (W / 2 - x);
        const int32_t d = static_cast<int32_t>(std::sqrt(static_cast<float>(sum)));
        if (d <= R) SetCell(cells, x, y, randomCell());
      }
    }
  }
}

void OracleLife::Step() {
  bool reset = periodicResetOn && generation >= resetPeriod;
  const float diagonal = std::sqrt(static_cast<float>(columns * columns + rows * rows));
  const uint32_t D = static_cast<uint32_t>(diagonal);
  if (autoReset && (steadyAverageCount > resetPeriod || steadyPopulationCount > D)) reset = true;
  if (reset) ResetPopulation();

  const uint32_t previous = population;
  population = 0;
  dying = 0;
  uint32_t ageSum = 0;
  const bool generations = states > 2 && states <= 256;
  std::fill(nextCells.begin(), nextCells.end(), 0.0f);
  std::fill(colours.begin(), colours.end(), Rgba8{});
  for (int32_t y = 0; y < rows; y++) {
    for (int32_t x = 0; x < columns; x++) {
      const int32_t n = CountNeighbours(cells, x, y);
      const float v = cells[y * columns + x];
      if (generations) {
        if (v > 0.0f) {
          if (ruleSurvive[n]) {
            SetCell(nextCells, x, y, v + 1.0f);
            population += 1;
            ageSum += static_cast<uint32_t>(v) + 1;
          } else {
            SetDying(x, y, PaletteIndex(static_cast<int32_t>(v)), 2);
          }
        } else if (v < 0.0f) {
          const int32_t code = -v < 16777216.0f ? static_cast<int32_t>(-v) : 0;
          const int32_t k = code % 256;
          if (k >= 2 && k + 1 < states)
            SetDying(x, y, PaletteIndex(code / 256), k + 1);
          else
            SetCell(nextCells, x, y, 0.0f);
        } else if (ruleBorn[n]) {
          SetCell(nextCells, x, y, 1.0f);
          population += 1;
          ageSum += 1;
        }
      } else if (v > 0.0f) {
        if (ruleSurvive[n]) {
          SetCell(nextCells, x, y, v + 1.0f);
          population += 1;
          ageSum += static_cast<uint32_t>(v) + 1;
        } else {
          SetCell(nextCells, x, y, dieSlowly ? -v : 0.0f);
        }
      } else if (ruleBorn[n]) {
        SetCell(nextCells, x, y, 1.0f);
        population += 1;
        ageSum += 1;
      } else if (v < 0.0f) {
        const float e = v * dieStep;
        SetCell(nextCells, x, y, std::fabs(e) < 1e-7f ? 0.0f : e);
      }
    }
  }
  cells = nextCells;
  generation += 1;
  averageAge = population != 0 ? static_cast<float>(ageSum) / static_cast<float>(population) : 0.0f;
  if (population == previous) steadyPopulationCount += 1;
  const uint32_t oldSum = populationSum;
  populationSum += population;
  const double g = static_cast<double>(generation) + 1.0;
  if (static_cast<uint32_t>(populationSum / g) == static_cast<uint32_t>(oldSum / g)) steadyAverageCount += 1;
}
