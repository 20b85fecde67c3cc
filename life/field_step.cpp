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
#include <cstring>
#include <type_traits>

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
  const size_t sumsSize = (static_cast<size_t>(columns) + 2 + 15) / 16 * 16;
  liveScratch.Allocate(sumsSize + static_cast<size_t>(columns) + 16);
  countScratch.Allocate(static_cast<size_t>(columns) + 16);
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

namespace {

// Per column x: live cells among (x, y - 1), (x, y), (x, y + 1); and the
// middle row's own live flags.
inline void ColumnSums(const float* up, const float* mid, const float* down, int32_t w, uint8_t* sums,
                       uint8_t* midLive) {
  int32_t x = 0;
#if defined(__SSE2__)
  const __m128 epsilon = _mm_set1_ps(kCellEpsilon);
  auto liveBytes = [&epsilon](const float* p) {  // 16 cells -> 16 bytes of 0 or 0xFF
    const __m128i a = _mm_castps_si128(_mm_cmpge_ps(_mm_loadu_ps(p), epsilon));
    const __m128i b = _mm_castps_si128(_mm_cmpge_ps(_mm_loadu_ps(p + 4), epsilon));
    const __m128i c = _mm_castps_si128(_mm_cmpge_ps(_mm_loadu_ps(p + 8), epsilon));
    const __m128i d = _mm_castps_si128(_mm_cmpge_ps(_mm_loadu_ps(p + 12), epsilon));
    return _mm_packs_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d));
  };
  const __m128i zero = _mm_setzero_si128();
  for (; x + 16 <= w; x += 16) {
    const __m128i m = liveBytes(mid + x);
    const __m128i total = _mm_add_epi8(_mm_add_epi8(liveBytes(up + x), m), liveBytes(down + x));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + x), _mm_sub_epi8(zero, total));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(midLive + x), _mm_sub_epi8(zero, m));
  }
#endif
  for (; x < w; ++x) {
    midLive[x] = IsLive(mid[x]);
    sums[x] = static_cast<uint8_t>(IsLive(up[x]) + midLive[x] + IsLive(down[x]));
  }
}

// Per column x: the rule code of the cell's neighbour count, from the padded
// column sums (sums[x + 1] is column x).
inline void RuleCodes(const uint8_t* sums, const uint8_t* midLive, int32_t w, const uint8_t* ruleCode,
                      uint8_t* codes) {
  for (int32_t x = 0; x < w; ++x)
    codes[x] = ruleCode[sums[x] + sums[x + 1] + sums[x + 2] - midLive[x]];
}

// What one generation needs besides the grids, read once per Step.
struct StepRules {
  uint8_t code[9];  // per neighbour count: bit 0 born, bit 1 survive
  bool dieSlowly;
  float dieStep;
  int32_t tableSize;
  const float* table;
  ColourVec background;
};

// Where one row's vertex colours go. Mode 0: each cell owns two vertices in
// lattice row 2y and two in 2y + 1. Mode 1: one vertex per cell; the last
// column and the top row of vertices repeat their neighbouring cell.
template <int Mode>
struct RowColours {
  float* lower;
  float* upper;  // mode 0: lattice row 2y + 1; mode 1: the extra top row, or none
  int32_t lastColumn;

  inline void Put(int32_t x, ColourVec colour) const {
    if (Mode == 0) {
      StoreColour(lower + static_cast<size_t>(x) * 8, colour);
      StoreColour(lower + static_cast<size_t>(x) * 8 + 4, colour);
      StoreColour(upper + static_cast<size_t>(x) * 8, colour);
      StoreColour(upper + static_cast<size_t>(x) * 8 + 4, colour);
    } else {
      StoreColour(lower + static_cast<size_t>(x) * 4, colour);
      if (x == lastColumn) StoreColour(lower + static_cast<size_t>(x + 1) * 4, colour);
      if (upper) {
        StoreColour(upper + static_cast<size_t>(x) * 4, colour);
        if (x == lastColumn) StoreColour(upper + static_cast<size_t>(x + 1) * 4, colour);
      }
    }
  }
};

inline int32_t TableIndex(float magnitude, int32_t tableSize) {
  int32_t index = static_cast<int32_t>(magnitude);
  if (index >= tableSize) index %= tableSize;
  return index;
}

// One cell, the plain way: used for the columns a vector group does not cover.
template <int Mode>
inline void StepOneCell(const StepRules& r, float v, uint8_t code, float& out, uint32_t& live,
                        uint32_t& ages, const RowColours<Mode>& row, int32_t x) {
  float next;
  bool written = true;
  if (v > 0.0f) {
    if (code & 2u) {
      next = v + 1.0f;
      ++live;
      ages += static_cast<uint32_t>(v) + 1u;
    } else {
      next = r.dieSlowly ? -v : 0.0f;
    }
  } else if (code & 1u) {
    next = 1.0f;
    ++live;
    ages += 1u;
  } else if (v < 0.0f) {
    const float faded = v * r.dieStep;
    next = std::fabs(faded) < kCellEpsilon ? 0.0f : faded;
  } else {
    next = 0.0f;
    written = false;
  }
  out = next;

  ColourVec colour;
  if (!written) {
    colour = ZeroColour();
  } else {
    const float magnitude = std::fabs(next);
    if (magnitude < kCellEpsilon) {
      colour = r.background;
    } else {
      const float alpha = next < 0.0f ? 1.0f - 1.0f / (magnitude + 1.0f) : 1.0f;
      colour = EntryWithAlpha(r.table + static_cast<size_t>(TableIndex(magnitude, r.tableSize)) * 4, alpha);
    }
  }
  row.Put(x, colour);
}

#if defined(__SSE2__)
// Four cells at once, without branches on the cell states. Every arithmetic
// step is the same single-precision operation as in StepOneCell (SSE lanes
// round exactly like scalar SSE), so the results agree bit for bit.
template <int Mode>
inline void StepFourCells(const StepRules& r, const float* v4, const uint8_t* codes4, float* out4,
                          uint32_t& live, __m128i& ages, const RowColours<Mode>& row, int32_t x) {
  const __m128 zero = _mm_setzero_ps();
  const __m128 one = _mm_set1_ps(1.0f);
  const __m128 epsilon = _mm_set1_ps(kCellEpsilon);
  const __m128 signBit = _mm_set1_ps(-0.0f);

  int32_t packedCodes;
  std::memcpy(&packedCodes, codes4, 4);
  __m128i codes = _mm_cvtsi32_si128(packedCodes);
  codes = _mm_unpacklo_epi8(codes, _mm_setzero_si128());
  codes = _mm_unpacklo_epi16(codes, _mm_setzero_si128());
  const __m128 bornRule = _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(codes, _mm_set1_epi32(1)), _mm_set1_epi32(1)));
  const __m128 surviveRule = _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(codes, _mm_set1_epi32(2)), _mm_set1_epi32(2)));

  const __m128 v = _mm_loadu_ps(v4);
  const __m128 isLive = _mm_cmpgt_ps(v, zero);
  const __m128 isDying = _mm_cmplt_ps(v, zero);
  const __m128 keep = _mm_and_ps(isLive, surviveRule);
  const __m128 die = _mm_andnot_ps(surviveRule, isLive);
  const __m128 birth = _mm_andnot_ps(isLive, bornRule);
  const __m128 fade = _mm_andnot_ps(_mm_or_ps(isLive, bornRule), isDying);
  const __m128 written = _mm_or_ps(_mm_or_ps(keep, die), _mm_or_ps(birth, fade));

  const __m128 aged = _mm_add_ps(v, one);
  const __m128 died = r.dieSlowly ? _mm_xor_ps(v, signBit) : zero;
  const __m128 faded = _mm_mul_ps(v, _mm_set1_ps(r.dieStep));
  const __m128 fadedKept = _mm_andnot_ps(_mm_cmplt_ps(_mm_andnot_ps(signBit, faded), epsilon), faded);
  const __m128 next = _mm_or_ps(_mm_or_ps(_mm_and_ps(keep, aged), _mm_and_ps(die, died)),
                                _mm_or_ps(_mm_and_ps(birth, one), _mm_and_ps(fade, fadedKept)));
  _mm_storeu_ps(out4, next);

  const __m128 counted = _mm_or_ps(keep, birth);
  static const uint8_t kLanesSet[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};
  live += kLanesSet[_mm_movemask_ps(counted)];
  const __m128i keptAge = _mm_add_epi32(_mm_cvttps_epi32(v), _mm_set1_epi32(1));
  ages = _mm_add_epi32(ages, _mm_or_si128(_mm_and_si128(_mm_castps_si128(keep), keptAge),
                                          _mm_and_si128(_mm_castps_si128(birth), _mm_set1_epi32(1))));

  const __m128 magnitude = _mm_andnot_ps(signBit, next);
  const __m128 isEmpty = _mm_cmplt_ps(magnitude, epsilon);
  const __m128 useBackground = _mm_and_ps(written, isEmpty);
  const __m128 useTable = _mm_andnot_ps(isEmpty, written);
  const __m128 fadingAlpha = _mm_sub_ps(one, _mm_div_ps(one, _mm_add_ps(magnitude, one)));
  const __m128 isNegative = _mm_cmplt_ps(next, zero);
  const __m128 alpha = _mm_or_ps(_mm_and_ps(isNegative, fadingAlpha), _mm_andnot_ps(isNegative, one));

  alignas(16) int32_t index[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(index), _mm_cvttps_epi32(magnitude));
  // Lane k's colour: its table entry with its alpha, or the background, or
  // nothing; chosen with masks so that mixed groups cost no mispredictions.
  // Indices of lanes without a table colour are 0, a valid entry.
  const __m128 rgbMask = _mm_castsi128_ps(_mm_set_epi32(0, -1, -1, -1));
  const __m128 alphaMask = _mm_castsi128_ps(_mm_set_epi32(-1, 0, 0, 0));
  const __m128 entryAlpha = _mm_and_ps(alpha, useTable);
  auto lane = [&](auto k) {
    constexpr int K = decltype(k)::value;
    constexpr int kSplat = _MM_SHUFFLE(K, K, K, K);
    int32_t i = index[K];
    if (i >= r.tableSize) i %= r.tableSize;
    const __m128 entry = _mm_and_ps(_mm_load_ps(r.table + static_cast<size_t>(i) * 4),
                                    _mm_shuffle_ps(useTable, useTable, kSplat));
    const __m128 withAlpha = _mm_or_ps(_mm_and_ps(entry, rgbMask),
                                       _mm_and_ps(_mm_shuffle_ps(entryAlpha, entryAlpha, kSplat), alphaMask));
    const __m128 background = _mm_and_ps(r.background, _mm_shuffle_ps(useBackground, useBackground, kSplat));
    row.Put(x + K, _mm_or_ps(withAlpha, background));
  };
  lane(std::integral_constant<int, 0>{});
  lane(std::integral_constant<int, 1>{});
  lane(std::integral_constant<int, 2>{});
  lane(std::integral_constant<int, 3>{});
}
#endif

}  // namespace

template <int Mode>
void VivarnTaskBse::StepCells(uint32_t& ageSum) {
  const int32_t w = columns;
  const int32_t h = rows;
  StepRules r;
  for (int k = 0; k < 9; ++k)
    r.code[k] = static_cast<uint8_t>((RuleBorn[k] ? 1u : 0u) | (RuleSurvive[k] ? 2u : 0u));
  r.dieSlowly = DieSlowly;
  r.dieStep = DieStep;
  r.tableSize = paletteSize;
  r.table = paletteColours.get();
  r.background = MakeColour(Rgba{BkColor[0], BkColor[1], BkColor[2], 1.0f});

  // Scratch rows: column sums (with [0] and [w + 1] repeating the wrapped
  // columns), the middle row's live flags, and the rule code of each cell.
  uint8_t* columnSums = liveScratch.get();
  uint8_t* midLive = columnSums + (static_cast<size_t>(w) + 2 + 15) / 16 * 16;
  uint8_t* codes = countScratch.get();
  float* colourBase = colours.get();
  uint32_t live = 0;
  uint32_t ages = 0;
#if defined(__SSE2__)
  __m128i vectorAges = _mm_setzero_si128();
#endif

  for (int32_t y = 0; y < h; ++y) {
    const float* up = cells.get() + static_cast<size_t>(y == 0 ? h - 1 : y - 1) * w;
    const float* mid = cells.get() + static_cast<size_t>(y) * w;
    const float* down = cells.get() + static_cast<size_t>(y == h - 1 ? 0 : y + 1) * w;
    float* out = nextCells.get() + static_cast<size_t>(y) * w;

    ColumnSums(up, mid, down, w, columnSums + 1, midLive);
    columnSums[0] = columnSums[w];
    columnSums[w + 1] = columnSums[1];
    RuleCodes(columnSums, midLive, w, r.code, codes);

    RowColours<Mode> row;
    row.lastColumn = w - 1;
    if (Mode == 0) {
      row.lower = colourBase + static_cast<size_t>(2 * y) * (static_cast<size_t>(w) * 2) * 4;
      row.upper = row.lower + static_cast<size_t>(w) * 2 * 4;
    } else {
      const size_t stride = (static_cast<size_t>(w) + 1) * 4;
      row.lower = colourBase + static_cast<size_t>(y) * stride;
      row.upper = y == h - 1 ? colourBase + static_cast<size_t>(h) * stride : nullptr;
    }

    int32_t x = 0;
#if defined(__SSE2__)
    for (; x + 4 <= w; x += 4) StepFourCells<Mode>(r, mid + x, codes + x, out + x, live, vectorAges, row, x);
#endif
    for (; x < w; ++x) StepOneCell<Mode>(r, mid[x], codes[x], out[x], live, ages, row, x);
  }
  FinishColourStores();
#if defined(__SSE2__)
  alignas(16) uint32_t lanes[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), vectorAges);
  ages += lanes[0] + lanes[1] + lanes[2] + lanes[3];
#endif
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
