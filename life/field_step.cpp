// The field: its size, the toroidal neighbour count, storing a cell (with its
// vertex colours) and the generation step.
//
// Step is the hot path. It produces exactly what the plain per-cell recipe
// produces (the tests keep that recipe and compare bit for bit), but:
//   - neighbour counts come from per-row column sums instead of eight reads
//     with wrap-around arithmetic per cell;
//   - each vertex colour is written once per generation (its cell's colour,
//     or zeros for a cell that stays empty) instead of clearing the whole
//     colour array first and writing the non-empty cells again;
//   - colour stores bypass the cache: the array is several times larger than
//     the cache and is read next by the GL draw, not by this thread;
//   - the grids swap instead of being copied.
#include <cmath>

#include "life/output_size.h"
#include "life/vivarn_task.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#if defined(__SSE2__)
using ColourVec = __m128;
inline ColourVec ZeroColour() { return _mm_setzero_ps(); }
inline ColourVec MakeColour(const Rgba& c) { return _mm_set_ps(c.a, c.b, c.g, c.r); }
inline ColourVec EntryWithAlpha(const float* entry, float alpha) {
  const __m128 rgbMask = _mm_castsi128_ps(_mm_set_epi32(0, -1, -1, -1));
  return _mm_or_ps(_mm_and_ps(_mm_load_ps(entry), rgbMask), _mm_set_ps(alpha, 0.0f, 0.0f, 0.0f));
}
// Vertex colours are 16-byte aligned (the array is 64-byte aligned).
inline void StoreColour(float* vertex, ColourVec c) { _mm_stream_ps(vertex, c); }
inline void FinishColourStores() { _mm_sfence(); }
#else
struct ColourVec {
  float v[4];
};
inline ColourVec ZeroColour() { return ColourVec{{0.0f, 0.0f, 0.0f, 0.0f}}; }
inline ColourVec MakeColour(const Rgba& c) { return ColourVec{{c.r, c.g, c.b, c.a}}; }
inline ColourVec EntryWithAlpha(const float* entry, float alpha) {
  return ColourVec{{entry[0], entry[1], entry[2], alpha}};
}
inline void StoreColour(float* vertex, ColourVec c) {
  for (int k = 0; k < 4; ++k) vertex[k] = c.v[k];
}
inline void FinishColourStores() {}
#endif

inline uint8_t IsLive(float v) { return v >= kCellEpsilon ? 1 : 0; }

}  // namespace

void VivarnTaskBse::ApplyCellSize() {
  std::lock_guard<std::recursive_mutex> guard(lock);
  cellWidth = EffectiveCellSize();
  cellHeight = EffectiveCellSize();
  ResizeField();
}

void VivarnTaskBse::ResizeField() {
  std::lock_guard<std::recursive_mutex> guard(lock);
  const OutputSize output = CurrentOutputSize();
  const uint32_t width = output.width > 0 ? static_cast<uint32_t>(output.width) : 0u;
  const uint32_t height = output.height > 0 ? static_cast<uint32_t>(output.height) : 0u;
  const int32_t newColumns = static_cast<int32_t>(width / static_cast<uint32_t>(cellWidth));
  const int32_t newRows = static_cast<int32_t>(height / static_cast<uint32_t>(cellHeight));
  if (!cells || newColumns != columns || newRows != rows) {
    const size_t count = static_cast<size_t>(newColumns) * static_cast<size_t>(newRows);
    AlignedArray<float> fresh;
    AlignedArray<float> freshNext;
    fresh.Allocate(count);
    fresh.FillZero();
    freshNext.Allocate(count);
    freshNext.FillZero();
    cells = std::move(fresh);
    nextCells = std::move(freshNext);
    columns = newColumns;
    rows = newRows;
    AllocateStepScratch();
    BuildGeometry(columns, rows);
  }
  columns = newColumns;
  rows = newRows;
}

void VivarnTaskBse::AllocateStepScratch() {
  liveScratch.Allocate(static_cast<size_t>(columns) + 2);
  countScratch.Allocate(static_cast<size_t>(columns) + 1);
}

int32_t VivarnTaskBse::CountNeighbours(const float* grid, int32_t column, int32_t row) const {
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
    count += IsLive(grid[static_cast<size_t>(y) * columns + x]);
  }
  return count;
}

void VivarnTaskBse::SetCell(float* grid, int32_t column, int32_t row, float value) {
  if (grid == nullptr) return;
  std::lock_guard<std::recursive_mutex> guard(lock);
  const Rgba c = CellColour(value);
  auto put = [this, &c](size_t vertex) {
    float* out = &colours[vertex * 4];
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
    out[3] = c.a;
  };
  if (colours) {
    if (DrawMode() == 0) {
      const size_t latticeWidth = static_cast<size_t>(columns) * 2;
      const size_t c0 = static_cast<size_t>(2 * row) * latticeWidth + static_cast<size_t>(2 * column);
      put(c0);
      put(c0 + 1);
      put(c0 + latticeWidth);
      put(c0 + latticeWidth + 1);
    } else {
      const size_t stride = static_cast<size_t>(columns) + 1;
      const bool lastColumn = column == columns - 1;
      const bool lastRow = row == rows - 1;
      put(static_cast<size_t>(row) * stride + column);
      if (lastColumn && lastRow) put(static_cast<size_t>(rows) * stride + columns);
      if (lastColumn) put(static_cast<size_t>(row) * stride + columns);
      if (lastRow) put(static_cast<size_t>(rows) * stride + column);
    }
  }
  grid[static_cast<size_t>(row) * columns + column] = value;
}

template <int Mode>
void VivarnTaskBse::StepCells(uint32_t& ageSum) {
  const int32_t w = columns;
  const int32_t h = rows;
  uint32_t born = 0;
  uint32_t survive = 0;
  for (int k = 0; k < 9; ++k) {
    born |= (RuleBorn[k] ? 1u : 0u) << k;
    survive |= (RuleSurvive[k] ? 1u : 0u) << k;
  }
  const bool dieSlowly = DieSlowly;
  const float dieStep = DieStep;
  const int32_t tableSize = paletteSize;
  const float* table = paletteColours.get();
  const ColourVec background = MakeColour(Rgba{BkColor[0], BkColor[1], BkColor[2], 1.0f});
  uint8_t* columnSums = liveScratch.get();  // [0] and [w + 1] repeat the wrapped columns
  uint8_t* counts = countScratch.get();
  float* colourBase = colours.get();
  uint32_t live = 0;
  uint32_t ages = 0;

  for (int32_t y = 0; y < h; ++y) {
    const float* up = cells.get() + static_cast<size_t>(y == 0 ? h - 1 : y - 1) * w;
    const float* mid = cells.get() + static_cast<size_t>(y) * w;
    const float* down = cells.get() + static_cast<size_t>(y == h - 1 ? 0 : y + 1) * w;
    float* out = nextCells.get() + static_cast<size_t>(y) * w;

    for (int32_t x = 0; x < w; ++x)
      columnSums[x + 1] = static_cast<uint8_t>(IsLive(up[x]) + IsLive(mid[x]) + IsLive(down[x]));
    columnSums[0] = columnSums[w];
    columnSums[w + 1] = columnSums[1];
    for (int32_t x = 0; x < w; ++x)
      counts[x] = static_cast<uint8_t>(columnSums[x] + columnSums[x + 1] + columnSums[x + 2] - IsLive(mid[x]));

    float* lowerRow = nullptr;
    float* upperRow = nullptr;
    if (Mode == 0) {
      lowerRow = colourBase + static_cast<size_t>(2 * y) * (static_cast<size_t>(w) * 2) * 4;
      upperRow = lowerRow + static_cast<size_t>(w) * 2 * 4;
    } else {
      lowerRow = colourBase + static_cast<size_t>(y) * (static_cast<size_t>(w) + 1) * 4;
    }

    for (int32_t x = 0; x < w; ++x) {
      const float v = mid[x];
      const uint32_t n = counts[x];
      float next;
      bool written = true;
      if (v > 0.0f) {
        if ((survive >> n) & 1u) {
          next = v + 1.0f;
          ++live;
          ages += static_cast<uint32_t>(v) + 1u;
        } else {
          next = dieSlowly ? -v : 0.0f;
        }
      } else if ((born >> n) & 1u) {
        next = 1.0f;
        ++live;
        ages += 1u;
      } else if (v < 0.0f) {
        const float faded = v * dieStep;
        next = std::fabs(faded) < kCellEpsilon ? 0.0f : faded;
      } else {
        next = 0.0f;
        written = false;
      }
      out[x] = next;

      ColourVec colour;
      if (!written) {
        colour = ZeroColour();
      } else {
        const float magnitude = std::fabs(next);
        if (magnitude < kCellEpsilon) {
          colour = background;
        } else {
          int32_t index = static_cast<int32_t>(magnitude);
          if (index >= tableSize) index %= tableSize;
          const float alpha = next < 0.0f ? 1.0f - 1.0f / (magnitude + 1.0f) : 1.0f;
          colour = EntryWithAlpha(table + static_cast<size_t>(index) * 4, alpha);
        }
      }

      if (Mode == 0) {
        StoreColour(lowerRow + static_cast<size_t>(x) * 8, colour);
        StoreColour(lowerRow + static_cast<size_t>(x) * 8 + 4, colour);
        StoreColour(upperRow + static_cast<size_t>(x) * 8, colour);
        StoreColour(upperRow + static_cast<size_t>(x) * 8 + 4, colour);
      } else {
        StoreColour(lowerRow + static_cast<size_t>(x) * 4, colour);
        // The mesh does not wrap: its last column and row of vertices repeat
        // the colours of the last column and row of cells.
        if (x == w - 1) StoreColour(lowerRow + static_cast<size_t>(w) * 4, colour);
        if (y == h - 1) {
          float* top = colourBase + static_cast<size_t>(h) * (static_cast<size_t>(w) + 1) * 4;
          StoreColour(top + static_cast<size_t>(x) * 4, colour);
          if (x == w - 1) StoreColour(top + static_cast<size_t>(w) * 4, colour);
        }
      }
    }
  }
  FinishColourStores();
  population = live;
  ageSum = ages;
}

void VivarnTaskBse::Step() {
  std::lock_guard<std::recursive_mutex> guard(lock);
  if (ResetRuleFires()) ResetPopulation();

  const uint32_t previousPopulation = population;
  population = 0;
  uint32_t ageSum = 0;
  if (columns > 0 && rows > 0 && cells && colours) {
    if (DrawMode() == 0)
      StepCells<0>(ageSum);
    else
      StepCells<1>(ageSum);
    cells.Swap(nextCells);
  } else {
    colours.FillZero();  // a field without cells leaves only cleared vertices
  }

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
