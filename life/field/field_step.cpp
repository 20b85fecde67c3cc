// The generation step: a field's next cell values and its mesh's vertex
// colours in one pass, and a reseed the mesh follows.
//
// The step is the hot path. It produces exactly what the plain per-cell recipe
// produces (the tests keep that recipe and compare bit for bit), but:
//   - each row's live flags are worked out once, and neighbour counts come
//     from per-row column sums of three such rows instead of eight reads with
//     wrap-around arithmetic per cell;
//   - the rule is applied to sixteen neighbour counts at once, and the cell
//     values and colours four cells at once without branches on the cell
//     states (soups mix every state, so such branches mispredict);
//   - every vertex colour is one entry of the colour table (the background
//     and transparent black sit behind the palette) with its alpha swapped in,
//     written once per generation instead of clearing the whole colour array
//     first and writing the non-empty cells again;
//   - colour stores bypass the cache when the colour array is too large to
//     stay in it (see StepTuning);
//   - the grids swap instead of being copied.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "life/field/field_mesh.h"
#include "life/field/field_step.h"
#include "life/field/life_field.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

// The cell groups below are large enough that the compiler would rather call
// them, but they only pay when their constants stay in registers across the
// row.
#if defined(__GNUC__)
#define STEP_INLINE inline __attribute__((always_inline))
#else
#define STEP_INLINE inline
#endif

namespace {

// A colour as the 32-bit word it occupies in memory (red in the lowest byte
// on the little-endian machines the vector path runs on).
inline int32_t Word(const Rgba8& c) {
  int32_t w;
  std::memcpy(&w, &c, sizeof w);
  return w;
}

// One vertex colour; streaming stores go round the cache (see StepTuning).
template <bool Streaming>
inline void StoreColour(Rgba8* vertex, Rgba8 c) {
#if defined(__SSE2__)
  if (Streaming) {
    _mm_stream_si32(reinterpret_cast<int*>(vertex), Word(c));
    return;
  }
#endif
  *vertex = c;
}

template <bool Streaming>
inline void FinishColourStores() {
#if defined(__SSE2__)
  if (Streaming) _mm_sfence();
#endif
}

#if defined(__SSE2__)
// Four vertex colours. Rows of vertices start at any word (a lattice row is
// 8 x columns bytes, a smooth-field row 4 x (columns + 1)), so a streamed
// group that does not sit on a 16-byte boundary goes one word at a time.
template <bool Streaming>
inline void StoreFour(Rgba8* vertex, __m128i c) {
  if (!Streaming) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(vertex), c);
  } else if ((reinterpret_cast<uintptr_t>(vertex) & 15u) == 0) {
    _mm_stream_si128(reinterpret_cast<__m128i*>(vertex), c);
  } else {
    int* out = reinterpret_cast<int*>(vertex);
    _mm_stream_si32(out, _mm_cvtsi128_si32(c));
    _mm_stream_si32(out + 1, _mm_cvtsi128_si32(_mm_srli_si128(c, 4)));
    _mm_stream_si32(out + 2, _mm_cvtsi128_si32(_mm_srli_si128(c, 8)));
    _mm_stream_si32(out + 3, _mm_cvtsi128_si32(_mm_srli_si128(c, 12)));
  }
}
#endif

inline uint8_t IsLive(float v) { return v >= kCellEpsilon ? 1 : 0; }


// One row's live flags (0 or 1 per cell), from column `x` on.
inline void LiveFlags(const float* row, int32_t w, uint8_t* flags, int32_t x = 0) {
#if defined(__SSE2__)
  const __m128 epsilon = _mm_set1_ps(kCellEpsilon);
  const __m128i one = _mm_set1_epi8(1);
  for (; x + 16 <= w; x += 16) {
    const float* p = row + x;
    const __m128i a = _mm_castps_si128(_mm_cmpge_ps(_mm_loadu_ps(p), epsilon));
    const __m128i b = _mm_castps_si128(_mm_cmpge_ps(_mm_loadu_ps(p + 4), epsilon));
    const __m128i c = _mm_castps_si128(_mm_cmpge_ps(_mm_loadu_ps(p + 8), epsilon));
    const __m128i d = _mm_castps_si128(_mm_cmpge_ps(_mm_loadu_ps(p + 12), epsilon));
    const __m128i bytes = _mm_packs_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(flags + x), _mm_and_si128(bytes, one));
  }
#endif
  for (; x < w; ++x) flags[x] = IsLive(row[x]);
}

// Per column x: live cells among (x, y - 1), (x, y), (x, y + 1), from column
// `x` on.
inline void ColumnSums(const uint8_t* up, const uint8_t* mid, const uint8_t* down, int32_t w, uint8_t* sums,
                       int32_t x = 0) {
#if defined(__SSE2__)
  for (; x + 16 <= w; x += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(up + x));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mid + x));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(down + x));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + x), _mm_add_epi8(_mm_add_epi8(a, b), c));
  }
#endif
  for (; x < w; ++x) sums[x] = static_cast<uint8_t>(up[x] + mid[x] + down[x]);
}

// What one generation needs besides the grids, read once per Step.
struct StepRules {
  uint8_t born[9];
  uint8_t survive[9];
  bool dieSlowly;
  float dieStep;
  int32_t states;  // 3..256 in the Generations step, 2 otherwise
  int32_t tableSize;
  // tableSize palette entries, then the background, then transparent black.
  const Rgba8* table;
};

// Where one row's vertex colours go. Mode 0: each cell owns two vertices in
// lattice row 2y and two in 2y + 1. Mode 1: one vertex per cell (the extra
// column and row of vertices are copied once the row is done). kValuesOnly:
// nowhere, the GL colours the cells itself (FieldMesh::valuesOnly).
constexpr int kValuesOnly = 2;

template <int Mode, bool Streaming>
struct RowColours {
  Rgba8* lower;
  Rgba8* upper;  // mode 0 only: lattice row 2y + 1

  inline void Put(int32_t x, Rgba8 colour) const {
    if (Mode == kValuesOnly) return;
    if (Mode == 0) {
      StoreColour<Streaming>(lower + static_cast<size_t>(x) * 2, colour);
      StoreColour<Streaming>(lower + static_cast<size_t>(x) * 2 + 1, colour);
      StoreColour<Streaming>(upper + static_cast<size_t>(x) * 2, colour);
      StoreColour<Streaming>(upper + static_cast<size_t>(x) * 2 + 1, colour);
    } else {
      StoreColour<Streaming>(lower + x, colour);
    }
  }

#if defined(__SSE2__)
  // Cells x to x + 3: in mode 0 each lattice row takes their eight
  // vertices, each colour twice.
  inline void PutFour(int32_t x, __m128i colours) const {
    if (Mode == kValuesOnly) return;
    if (Mode == 0) {
      const __m128i first = _mm_unpacklo_epi32(colours, colours);
      const __m128i second = _mm_unpackhi_epi32(colours, colours);
      StoreFour<Streaming>(lower + static_cast<size_t>(x) * 2, first);
      StoreFour<Streaming>(lower + static_cast<size_t>(x) * 2 + 4, second);
      StoreFour<Streaming>(upper + static_cast<size_t>(x) * 2, first);
      StoreFour<Streaming>(upper + static_cast<size_t>(x) * 2 + 4, second);
    } else {
      StoreFour<Streaming>(lower + x, colours);
    }
  }
#endif
};

inline int32_t TableIndex(float magnitude, int32_t tableSize) {
  int32_t index = static_cast<int32_t>(magnitude);
  if (index >= tableSize) index %= tableSize;
  return index;
}

// Generations rules keep a dying cell as one negative value,
// -(index * 256 + state): the palette index it was drawn with when it died
// (16 bits; only palettes beyond 65536 entries lose the top ones) and its
// dying state 2..255, an integer a float holds exactly. Magnitudes from
// 2^24 up are no dying cell.
constexpr float kDyingLimit = 16777216.0f;
constexpr uint32_t kDyingIndexBits = 0xFFFF00u;
constexpr int32_t kDyingStateBits = 0xFF;

inline int32_t DyingBits(int32_t index, int32_t state) {
  return static_cast<int32_t>((static_cast<uint32_t>(index) << 8) & kDyingIndexBits) | state;
}

// One cell, the plain way: the columns sixteen-cell groups do not cover, and
// every cell where there are no vector instructions.
template <int Mode, bool Streaming>
inline void StepOneCell(const StepRules& r, float v, int32_t neighbours, float& out, uint32_t& live,
                        uint32_t& ages, const RowColours<Mode, Streaming>& row, int32_t x) {
  float next;
  bool written = true;
  if (v > 0.0f) {
    if (r.survive[neighbours]) {
      next = v + 1.0f;
      ++live;
      ages += static_cast<uint32_t>(v) + 1u;
    } else {
      next = r.dieSlowly ? -v : 0.0f;
    }
  } else if (r.born[neighbours]) {
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
  if constexpr (Mode == kValuesOnly) return;

  const Rgba8* background = r.table + r.tableSize;
  Rgba8 colour = background[1];  // transparent black
  if (written) {
    const float magnitude = std::fabs(next);
    if (magnitude < kCellEpsilon) {
      colour = background[0];
      colour.a = 255;
    } else {
      colour = r.table[TableIndex(magnitude, r.tableSize)];
      colour.a = ColourByte(next < 0.0f ? 1.0f - 1.0f / (magnitude + 1.0f) : 1.0f);
    }
  }
  row.Put(x, colour);
}

// One cell of a Generations rule (more than two states), as StepOneCell.
template <int Mode, bool Streaming>
inline void StepOneCellGenerations(const StepRules& r, float v, int32_t neighbours, float& out, uint32_t& live,
                                   uint32_t& ages, uint32_t& dying, const RowColours<Mode, Streaming>& row,
                                   int32_t x) {
  const Rgba8* background = r.table + r.tableSize;
  Rgba8 colour = background[1];  // transparent black: empty and left so
  float next = 0.0f;
  int32_t state = 0;  // the dying state next generation, 0 for none
  int32_t index = 0;
  if (v > 0.0f) {
    if (r.survive[neighbours]) {
      next = v + 1.0f;
      ++live;
      ages += static_cast<uint32_t>(v) + 1u;
    } else {
      state = 2;
      index = TableIndex(v, r.tableSize);
    }
  } else if (v < 0.0f) {
    const float m = -v;
    const int32_t bits = m < kDyingLimit ? static_cast<int32_t>(m) : 0;
    const int32_t k = bits & kDyingStateBits;
    if (k >= 2 && k + 1 < r.states) {
      state = k + 1;
      index = bits >> 8;
      if (index >= r.tableSize) index %= r.tableSize;
    } else {
      colour = background[0];  // gone this generation
      colour.a = 255;
    }
  } else if (r.born[neighbours]) {
    next = 1.0f;
    ++live;
    ages += 1u;
  }
  if (next > 0.0f) {
    colour = r.table[TableIndex(next, r.tableSize)];
    colour.a = 255;
  }
  if (state != 0) {
    const int32_t bits = DyingBits(index, state);
    next = -static_cast<float>(bits);
    ++dying;
    colour = r.table[bits >> 8];
    colour.a = ColourByte(static_cast<float>(r.states - state) / static_cast<float>(r.states - 1));
  }
  out = next;
  row.Put(x, colour);
}

#if defined(__SSE2__)
// The constants of the vector path, set up once per Step.
struct VectorRules {
  __m128i bornCounts[9];  // the neighbour counts (in every byte) that give birth
  __m128i surviveCounts[9];
  int bornCountNumber;
  int surviveCountNumber;
  __m128 dieSlowly;  // all ones when dying cells fade, else zero
  __m128 dieStep;
  __m128i lastPaletteIndex;
  __m128i blackSlot;  // table slot of transparent black; the background's is one less
  __m128 minusEpsilon;
  __m128 infinity;
  __m128i colourMask;  // red, green and blue of a table entry's word
  __m128i states;       // Generations: the state count, and it less one as a float
  __m128 statesLessOne;
  __m128 dyingLimit;
  int32_t tableSize;
  const Rgba8* table;
};

inline __m128 Select(__m128 mask, __m128 ifSet, __m128 ifClear) {
  return _mm_or_ps(_mm_and_ps(mask, ifSet), _mm_andnot_ps(mask, ifClear));
}

// Four cells. Every arithmetic step is the same single-precision operation as
// in StepOneCell (SSE lanes round exactly like scalar SSE), so the results
// agree bit for bit. `born` and `survive` hold the rule's verdict on each
// cell's neighbour count as lane masks.
template <int Mode, bool Streaming>
STEP_INLINE void StepFourCells(const VectorRules& q, const float* in, __m128 born, __m128 survive, float* out,
                               __m128i& liveCount, __m128i& ageCount, const RowColours<Mode, Streaming>& row,
                               int32_t x) {
  const __m128 zero = _mm_setzero_ps();
  const __m128 one = _mm_set1_ps(1.0f);
  const __m128 epsilon = _mm_set1_ps(kCellEpsilon);
  const __m128 signBit = _mm_set1_ps(-0.0f);

  const __m128 v = _mm_loadu_ps(in);
  const __m128 isLive = _mm_cmpgt_ps(v, zero);

  // Live cells: a year older, or dying (or gone); the others: born, fading
  // (snapping to 0 below the epsilon), or left empty. The fade's ordered
  // compare turns what is not a dying cell (0, -0, NaN) into +0, as the
  // plain recipe leaves it (the factor is finite: the task passes EffectiveDieStep).
  const __m128 died = _mm_and_ps(_mm_xor_ps(v, signBit), q.dieSlowly);
  const __m128 fromLive = Select(survive, _mm_add_ps(v, one), died);
  const __m128 faded = _mm_mul_ps(v, q.dieStep);
  const __m128 fadedKept = _mm_and_ps(_mm_cmpge_ps(_mm_andnot_ps(signBit, faded), epsilon), faded);
  const __m128 fromDead = Select(born, one, fadedKept);
  const __m128 next = Select(isLive, fromLive, fromDead);
  _mm_storeu_ps(out, next);

  // Counters: the cells live next generation (exactly those with a positive
  // value), and the age of each surviving cell (the year each of them adds
  // comes with the count).
  liveCount = _mm_sub_epi32(liveCount, _mm_castps_si128(_mm_cmpgt_ps(next, zero)));
  const __m128 keep = _mm_and_ps(isLive, survive);
  ageCount = _mm_add_epi32(ageCount, _mm_and_si128(_mm_castps_si128(keep), _mm_cvttps_epi32(v)));

  if constexpr (Mode == kValuesOnly) return;

  // Colours: a palette entry for non-empty cells (alpha fading with the
  // magnitude of dying ones), the background for cells that became empty
  // this generation, transparent black for cells that were left alone.
  const __m128 written = _mm_or_ps(_mm_or_ps(isLive, _mm_cmplt_ps(v, zero)), born);
  const __m128 magnitude = _mm_andnot_ps(signBit, next);
  const __m128 isEmpty = _mm_cmplt_ps(magnitude, epsilon);
  // 1 - 1 / (t + 1) is the fading alpha for t = the magnitude of a dying
  // cell, exactly 1 for t = infinity (other written cells) and 0 for t = 0.
  const __m128 fading = _mm_cmple_ps(next, q.minusEpsilon);
  const __m128 t = _mm_max_ps(magnitude, _mm_andnot_ps(fading, q.infinity));
  const __m128 alpha = _mm_and_ps(written, _mm_sub_ps(one, _mm_div_ps(one, _mm_add_ps(t, one))));

  // Table slots: the palette index (0 for empty cells), or for empty cells
  // the background's or black's slot behind the palette.
  const __m128i index = _mm_cvttps_epi32(magnitude);
  const __m128i wraps = _mm_cmpgt_epi32(index, q.lastPaletteIndex);
  const __m128i special = _mm_add_epi32(q.blackSlot, _mm_castps_si128(written));
  alignas(16) int32_t slot[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(slot),
                  _mm_add_epi32(index, _mm_and_si128(_mm_castps_si128(isEmpty), special)));
  if (_mm_movemask_epi8(wraps) != 0) {
    // Ages beyond the palette wrap round it; rare enough for scalar work.
    alignas(16) int32_t wrapped[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(wrapped), wraps);
    for (int k = 0; k < 4; ++k)
      if (wrapped[k] != 0) slot[k] %= q.tableSize;
  }

  // Each colour is its entry's red, green and blue with the alpha byte
  // (ColourByte, the same single-precision steps) on top.
  const __m128i alphaBytes =
      _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(alpha, _mm_set1_ps(255.0f)), _mm_set1_ps(0.5f)));
  const __m128i entries = _mm_setr_epi32(Word(q.table[slot[0]]), Word(q.table[slot[1]]), Word(q.table[slot[2]]),
                                         Word(q.table[slot[3]]));
  row.PutFour(x, _mm_or_si128(_mm_and_si128(entries, q.colourMask), _mm_slli_epi32(alphaBytes, 24)));
}

inline __m128i SelectInt(__m128i mask, __m128i ifSet, __m128i ifClear) {
  return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
}

// Four cells of a Generations rule: StepOneCellGenerations without branches,
// the same single-precision steps.
template <int Mode, bool Streaming>
STEP_INLINE void StepFourCellsGenerations(const VectorRules& q, const float* in, __m128 born, __m128 survive,
                                          float* out, __m128i& liveCount, __m128i& ageCount, __m128i& dyingCount,
                                          const RowColours<Mode, Streaming>& row, int32_t x) {
  const __m128 zero = _mm_setzero_ps();
  const __m128 one = _mm_set1_ps(1.0f);
  const __m128 signBit = _mm_set1_ps(-0.0f);
  const __m128i oneInt = _mm_set1_epi32(1);

  const __m128 v = _mm_loadu_ps(in);
  const __m128 isLive = _mm_cmpgt_ps(v, zero);
  const __m128 isDying = _mm_cmplt_ps(v, zero);
  const __m128 survives = _mm_and_ps(isLive, survive);
  const __m128 dies = _mm_andnot_ps(survive, isLive);
  const __m128 bornNow = _mm_andnot_ps(_mm_or_ps(isLive, isDying), born);
  const __m128 positive = _mm_or_ps(_mm_and_ps(survives, _mm_add_ps(v, one)), _mm_and_ps(bornNow, one));

  // A dying cell's state and kept index; it goes on dying while the state
  // after its own is below the state count.
  const __m128 m = _mm_xor_ps(v, signBit);
  const __m128i bits = _mm_and_si128(_mm_cvttps_epi32(m), _mm_castps_si128(_mm_cmplt_ps(m, q.dyingLimit)));
  const __m128i state = _mm_and_si128(bits, _mm_set1_epi32(kDyingStateBits));
  const __m128i stateAfter = _mm_add_epi32(state, oneInt);
  const __m128i keeps = _mm_and_si128(_mm_cmpgt_epi32(state, oneInt), _mm_cmpgt_epi32(q.states, stateAfter));
  const __m128 nextDying = _mm_or_ps(dies, _mm_and_ps(isDying, _mm_castsi128_ps(keeps)));

  // Palette indices: a dying cell's kept one, the age a cell dies at, or the
  // next value of the others; wrapped round the palette.
  alignas(16) int32_t slot[4];
  __m128i index = SelectInt(_mm_castps_si128(isDying), _mm_srli_epi32(bits, 8),
                            _mm_cvttps_epi32(Select(dies, v, positive)));
  if (_mm_movemask_epi8(_mm_cmpgt_epi32(index, q.lastPaletteIndex)) != 0) {
    _mm_store_si128(reinterpret_cast<__m128i*>(slot), index);
    for (int k = 0; k < 4; ++k)
      if (slot[k] >= q.tableSize) slot[k] %= q.tableSize;
    index = _mm_load_si128(reinterpret_cast<const __m128i*>(slot));
  }

  const __m128i dyingState = SelectInt(_mm_castps_si128(isLive), _mm_set1_epi32(2), stateAfter);
  const __m128i dyingBits =
      _mm_or_si128(_mm_and_si128(_mm_slli_epi32(index, 8), _mm_set1_epi32(static_cast<int32_t>(kDyingIndexBits))),
                   dyingState);
  const __m128 next = _mm_or_ps(positive, _mm_and_ps(nextDying, _mm_xor_ps(_mm_cvtepi32_ps(dyingBits), signBit)));
  _mm_storeu_ps(out, next);

  liveCount = _mm_sub_epi32(liveCount, _mm_castps_si128(_mm_cmpgt_ps(positive, zero)));
  dyingCount = _mm_sub_epi32(dyingCount, _mm_castps_si128(nextDying));
  ageCount = _mm_add_epi32(ageCount, _mm_and_si128(_mm_castps_si128(survives), _mm_cvttps_epi32(v)));

  if constexpr (Mode == kValuesOnly) return;

  // Colours: live cells their palette entry, dying ones the entry they died
  // with, fading in even steps; cells gone this generation the background,
  // cells left empty transparent black.
  const __m128 written = _mm_or_ps(_mm_or_ps(isLive, isDying), born);
  const __m128 isEmpty = _mm_andnot_ps(nextDying, _mm_cmpeq_ps(positive, zero));
  const __m128i colourIndex = SelectInt(_mm_castps_si128(nextDying), _mm_srli_epi32(dyingBits, 8), index);
  const __m128i special = _mm_add_epi32(q.blackSlot, _mm_castps_si128(written));
  _mm_store_si128(reinterpret_cast<__m128i*>(slot), SelectInt(_mm_castps_si128(isEmpty), special, colourIndex));
  const __m128 fade = _mm_div_ps(_mm_cvtepi32_ps(_mm_sub_epi32(q.states, dyingState)), q.statesLessOne);
  const __m128 alpha = Select(nextDying, fade, _mm_and_ps(written, one));
  const __m128i alphaBytes =
      _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(alpha, _mm_set1_ps(255.0f)), _mm_set1_ps(0.5f)));
  const __m128i entries = _mm_setr_epi32(Word(q.table[slot[0]]), Word(q.table[slot[1]]), Word(q.table[slot[2]]),
                                         Word(q.table[slot[3]]));
  row.PutFour(x, _mm_or_si128(_mm_and_si128(entries, q.colourMask), _mm_slli_epi32(alphaBytes, 24)));
}

// Sixteen cells: their neighbour counts from the padded column sums (sums[0]
// is the column left of the first cell) less the cells themselves, the rule
// applied to all sixteen, then four groups of four.
template <int Mode, bool Streaming, bool Generations>
STEP_INLINE void StepSixteenCells(const VectorRules& q, const float* in, const uint8_t* sums, const uint8_t* live,
                                  float* out, __m128i& liveCount, __m128i& ageCount, __m128i& dyingCount,
                                  const RowColours<Mode, Streaming>& row, int32_t x) {
  auto bytes = [](const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
  const __m128i around = _mm_add_epi8(_mm_add_epi8(bytes(sums), bytes(sums + 1)), bytes(sums + 2));
  const __m128i neighbours = _mm_sub_epi8(around, bytes(live));
  __m128i born = _mm_setzero_si128();
  for (int k = 0; k < q.bornCountNumber; ++k) born = _mm_or_si128(born, _mm_cmpeq_epi8(neighbours, q.bornCounts[k]));
  __m128i survive = _mm_setzero_si128();
  for (int k = 0; k < q.surviveCountNumber; ++k)
    survive = _mm_or_si128(survive, _mm_cmpeq_epi8(neighbours, q.surviveCounts[k]));

  // Byte masks widened to lane masks, four cells at a time.
  const __m128i bornLow = _mm_unpacklo_epi8(born, born);
  const __m128i bornHigh = _mm_unpackhi_epi8(born, born);
  const __m128i surviveLow = _mm_unpacklo_epi8(survive, survive);
  const __m128i surviveHigh = _mm_unpackhi_epi8(survive, survive);
  const __m128 born0 = _mm_castsi128_ps(_mm_unpacklo_epi16(bornLow, bornLow));
  const __m128 born1 = _mm_castsi128_ps(_mm_unpackhi_epi16(bornLow, bornLow));
  const __m128 born2 = _mm_castsi128_ps(_mm_unpacklo_epi16(bornHigh, bornHigh));
  const __m128 born3 = _mm_castsi128_ps(_mm_unpackhi_epi16(bornHigh, bornHigh));
  const __m128 survive0 = _mm_castsi128_ps(_mm_unpacklo_epi16(surviveLow, surviveLow));
  const __m128 survive1 = _mm_castsi128_ps(_mm_unpackhi_epi16(surviveLow, surviveLow));
  const __m128 survive2 = _mm_castsi128_ps(_mm_unpacklo_epi16(surviveHigh, surviveHigh));
  const __m128 survive3 = _mm_castsi128_ps(_mm_unpackhi_epi16(surviveHigh, surviveHigh));
  if constexpr (Generations) {
    StepFourCellsGenerations<Mode, Streaming>(q, in, born0, survive0, out, liveCount, ageCount, dyingCount, row, x);
    StepFourCellsGenerations<Mode, Streaming>(q, in + 4, born1, survive1, out + 4, liveCount, ageCount, dyingCount,
                                              row, x + 4);
    StepFourCellsGenerations<Mode, Streaming>(q, in + 8, born2, survive2, out + 8, liveCount, ageCount, dyingCount,
                                              row, x + 8);
    StepFourCellsGenerations<Mode, Streaming>(q, in + 12, born3, survive3, out + 12, liveCount, ageCount, dyingCount,
                                              row, x + 12);
  } else {
    StepFourCells<Mode, Streaming>(q, in, born0, survive0, out, liveCount, ageCount, row, x);
    StepFourCells<Mode, Streaming>(q, in + 4, born1, survive1, out + 4, liveCount, ageCount, row, x + 4);
    StepFourCells<Mode, Streaming>(q, in + 8, born2, survive2, out + 8, liveCount, ageCount, row, x + 8);
    StepFourCells<Mode, Streaming>(q, in + 12, born3, survive3, out + 12, liveCount, ageCount, row, x + 12);
  }
}

inline uint32_t LaneSum(__m128i v) {
  alignas(16) uint32_t lanes[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), v);
  return lanes[0] + lanes[1] + lanes[2] + lanes[3];
}
#endif

#if defined(__SSE2__) && defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define STEP_HAS_WIDE 1
// The same cell groups eight cells wide for processors with AVX2, chosen at
// run time: the program itself runs on any SSE2 processor. Every lane does
// the single-precision operation of the four-cell group (blends select as
// the masks did; without FMA, so products and sums round alike), so the
// results stay bit for bit those of StepOneCell.
#define STEP_WIDE __attribute__((target("avx2")))

bool WideVectorsAvailable() {
  static const bool available = __builtin_cpu_supports("avx2");
  return available;
}

template <int Mode, bool Streaming>
STEP_WIDE inline void PutEight(const RowColours<Mode, Streaming>& row, int32_t x, __m256i colours) {
  if (Mode == kValuesOnly) return;
  if (Mode == 0) {
    const __m256i low = _mm256_unpacklo_epi32(colours, colours);
    const __m256i high = _mm256_unpackhi_epi32(colours, colours);
    const __m256i first = _mm256_permute2x128_si256(low, high, 0x20);
    const __m256i second = _mm256_permute2x128_si256(low, high, 0x31);
    Rgba8* lower = row.lower + static_cast<size_t>(x) * 2;
    Rgba8* upper = row.upper + static_cast<size_t>(x) * 2;
    if (Streaming) {
      StoreFour<true>(lower, _mm256_castsi256_si128(first));
      StoreFour<true>(lower + 4, _mm256_extracti128_si256(first, 1));
      StoreFour<true>(lower + 8, _mm256_castsi256_si128(second));
      StoreFour<true>(lower + 12, _mm256_extracti128_si256(second, 1));
      StoreFour<true>(upper, _mm256_castsi256_si128(first));
      StoreFour<true>(upper + 4, _mm256_extracti128_si256(first, 1));
      StoreFour<true>(upper + 8, _mm256_castsi256_si128(second));
      StoreFour<true>(upper + 12, _mm256_extracti128_si256(second, 1));
    } else {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(lower), first);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(lower + 8), second);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(upper), first);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(upper + 8), second);
    }
  } else if (Streaming) {
    StoreFour<true>(row.lower + x, _mm256_castsi256_si128(colours));
    StoreFour<true>(row.lower + x + 4, _mm256_extracti128_si256(colours, 1));
  } else {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row.lower + x), colours);
  }
}

// Eight cells, as StepFourCells does four.
template <int Mode, bool Streaming>
STEP_WIDE inline void StepEightCells(const VectorRules& q, const float* in, __m256 born, __m256 survive, float* out,
                                     __m256i& liveCount, __m256i& ageCount, const RowColours<Mode, Streaming>& row,
                                     int32_t x) {
  const __m256 zero = _mm256_setzero_ps();
  const __m256 one = _mm256_set1_ps(1.0f);
  const __m256 epsilon = _mm256_set1_ps(kCellEpsilon);
  const __m256 signBit = _mm256_set1_ps(-0.0f);
  const __m256 dieSlowly = _mm256_set_m128(q.dieSlowly, q.dieSlowly);
  const __m256 dieStep = _mm256_set_m128(q.dieStep, q.dieStep);

  const __m256 v = _mm256_loadu_ps(in);
  const __m256 isLive = _mm256_cmp_ps(v, zero, _CMP_GT_OQ);
  const __m256 died = _mm256_and_ps(_mm256_xor_ps(v, signBit), dieSlowly);
  const __m256 fromLive = _mm256_blendv_ps(died, _mm256_add_ps(v, one), survive);
  const __m256 faded = _mm256_mul_ps(v, dieStep);
  const __m256 fadedKept =
      _mm256_and_ps(_mm256_cmp_ps(_mm256_andnot_ps(signBit, faded), epsilon, _CMP_GE_OQ), faded);
  const __m256 fromDead = _mm256_blendv_ps(fadedKept, one, born);
  const __m256 next = _mm256_blendv_ps(fromDead, fromLive, isLive);
  _mm256_storeu_ps(out, next);

  liveCount = _mm256_sub_epi32(liveCount, _mm256_castps_si256(_mm256_cmp_ps(next, zero, _CMP_GT_OQ)));
  const __m256 keep = _mm256_and_ps(isLive, survive);
  ageCount = _mm256_add_epi32(ageCount, _mm256_and_si256(_mm256_castps_si256(keep), _mm256_cvttps_epi32(v)));

  if constexpr (Mode == kValuesOnly) return;

  const __m256 written = _mm256_or_ps(_mm256_or_ps(isLive, _mm256_cmp_ps(v, zero, _CMP_LT_OQ)), born);
  const __m256 magnitude = _mm256_andnot_ps(signBit, next);
  const __m256 isEmpty = _mm256_cmp_ps(magnitude, epsilon, _CMP_LT_OQ);
  const __m256 fading = _mm256_cmp_ps(next, _mm256_set1_ps(-kCellEpsilon), _CMP_LE_OQ);
  const __m256 t = _mm256_max_ps(magnitude, _mm256_andnot_ps(fading, _mm256_set1_ps(std::numeric_limits<float>::infinity())));
  const __m256 alpha = _mm256_and_ps(written, _mm256_sub_ps(one, _mm256_div_ps(one, _mm256_add_ps(t, one))));

  const __m256i index = _mm256_cvttps_epi32(magnitude);
  const __m256i wraps = _mm256_cmpgt_epi32(index, _mm256_set1_epi32(q.tableSize - 1));
  const __m256i special = _mm256_add_epi32(_mm256_set1_epi32(q.tableSize + 1), _mm256_castps_si256(written));
  __m256i slot = _mm256_add_epi32(index, _mm256_and_si256(_mm256_castps_si256(isEmpty), special));
  if (_mm256_movemask_epi8(wraps) != 0) {
    alignas(32) int32_t lanes[8];
    alignas(32) int32_t wrapped[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), slot);
    _mm256_store_si256(reinterpret_cast<__m256i*>(wrapped), wraps);
    for (int k = 0; k < 8; ++k)
      if (wrapped[k] != 0) lanes[k] %= q.tableSize;
    slot = _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes));
  }

  const __m256i alphaBytes =
      _mm256_cvttps_epi32(_mm256_add_ps(_mm256_mul_ps(alpha, _mm256_set1_ps(255.0f)), _mm256_set1_ps(0.5f)));
  const __m256i entries = _mm256_i32gather_epi32(reinterpret_cast<const int*>(q.table), slot, 4);
  const __m256i mask = _mm256_set_m128i(q.colourMask, q.colourMask);
  PutEight<Mode, Streaming>(row, x, _mm256_or_si256(_mm256_and_si256(entries, mask), _mm256_slli_epi32(alphaBytes, 24)));
}

STEP_WIDE inline __m256i SelectWide(__m256i mask, __m256i ifSet, __m256i ifClear) {
  return _mm256_blendv_epi8(ifClear, ifSet, mask);
}

// Eight cells of a Generations rule, as StepFourCellsGenerations does four.
// Inlined into the row loop, so that its constants and counters stay in
// registers.
template <int Mode, bool Streaming>
STEP_WIDE STEP_INLINE void StepEightCellsGenerations(const VectorRules& q, const float* in, __m256 born, __m256 survive,
                                                float* out, __m256i& liveCount, __m256i& ageCount,
                                                __m256i& dyingCount, const RowColours<Mode, Streaming>& row,
                                                int32_t x) {
  const __m256 zero = _mm256_setzero_ps();
  const __m256 one = _mm256_set1_ps(1.0f);
  const __m256 signBit = _mm256_set1_ps(-0.0f);
  const __m256i oneInt = _mm256_set1_epi32(1);
  const __m256i states = _mm256_set_m128i(q.states, q.states);

  const __m256 v = _mm256_loadu_ps(in);
  const __m256 isLive = _mm256_cmp_ps(v, zero, _CMP_GT_OQ);
  const __m256 isDying = _mm256_cmp_ps(v, zero, _CMP_LT_OQ);
  const __m256 survives = _mm256_and_ps(isLive, survive);
  const __m256 dies = _mm256_andnot_ps(survive, isLive);
  const __m256 bornNow = _mm256_andnot_ps(_mm256_or_ps(isLive, isDying), born);
  const __m256 positive = _mm256_blendv_ps(_mm256_and_ps(bornNow, one), _mm256_add_ps(v, one), survives);

  // The truncated magnitude serves the dying state and, negated, the age.
  const __m256 m = _mm256_xor_ps(v, signBit);
  const __m256i truncated = _mm256_cvttps_epi32(m);
  const __m256i bits =
      _mm256_and_si256(truncated, _mm256_castps_si256(_mm256_cmp_ps(m, _mm256_set1_ps(kDyingLimit), _CMP_LT_OQ)));
  const __m256i state = _mm256_and_si256(bits, _mm256_set1_epi32(kDyingStateBits));
  const __m256i stateAfter = _mm256_add_epi32(state, oneInt);
  const __m256i keeps = _mm256_and_si256(_mm256_cmpgt_epi32(state, oneInt), _mm256_cmpgt_epi32(states, stateAfter));
  const __m256 nextDying = _mm256_or_ps(dies, _mm256_and_ps(isDying, _mm256_castsi256_ps(keeps)));

  __m256i index = SelectWide(_mm256_castps_si256(isDying), _mm256_srli_epi32(bits, 8),
                             _mm256_cvttps_epi32(_mm256_blendv_ps(positive, v, dies)));
  if (_mm256_movemask_epi8(_mm256_cmpgt_epi32(index, _mm256_set1_epi32(q.tableSize - 1))) != 0) {
    alignas(32) int32_t lanes[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), index);
    for (int k = 0; k < 8; ++k)
      if (lanes[k] >= q.tableSize) lanes[k] %= q.tableSize;
    index = _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes));
  }

  const __m256i dyingState = SelectWide(_mm256_castps_si256(isLive), _mm256_set1_epi32(2), stateAfter);
  const __m256i dyingBits = _mm256_or_si256(
      _mm256_and_si256(_mm256_slli_epi32(index, 8), _mm256_set1_epi32(static_cast<int32_t>(kDyingIndexBits))),
      dyingState);
  const __m256 next =
      _mm256_or_ps(positive, _mm256_and_ps(nextDying, _mm256_xor_ps(_mm256_cvtepi32_ps(dyingBits), signBit)));
  _mm256_storeu_ps(out, next);

  liveCount = _mm256_sub_epi32(liveCount, _mm256_castps_si256(_mm256_cmp_ps(positive, zero, _CMP_GT_OQ)));
  dyingCount = _mm256_sub_epi32(dyingCount, _mm256_castps_si256(nextDying));
  ageCount = _mm256_sub_epi32(ageCount, _mm256_and_si256(_mm256_castps_si256(survives), truncated));

  if constexpr (Mode == kValuesOnly) return;

  // Of the cells empty next generation only those that stopped dying were
  // written (live ones die into a state, born ones are live).
  const __m256i gone = _mm256_castps_si256(_mm256_andnot_ps(nextDying, isDying));
  const __m256 isEmpty = _mm256_andnot_ps(nextDying, _mm256_cmp_ps(positive, zero, _CMP_EQ_OQ));
  const __m256i colourIndex = SelectWide(_mm256_castps_si256(nextDying), _mm256_srli_epi32(dyingBits, 8), index);
  const __m256i special = _mm256_add_epi32(_mm256_set1_epi32(q.tableSize + 1), gone);
  const __m256i slot = SelectWide(_mm256_castps_si256(isEmpty), special, colourIndex);
  const __m256 fade = _mm256_div_ps(_mm256_cvtepi32_ps(_mm256_sub_epi32(states, dyingState)),
                                    _mm256_set_m128(q.statesLessOne, q.statesLessOne));
  const __m256 leftAlone = _mm256_andnot_ps(_mm256_castsi256_ps(gone), isEmpty);
  const __m256 alpha = _mm256_blendv_ps(_mm256_andnot_ps(leftAlone, one), fade, nextDying);
  const __m256i alphaBytes = _mm256_slli_epi32(
      _mm256_cvttps_epi32(_mm256_add_ps(_mm256_mul_ps(alpha, _mm256_set1_ps(255.0f)), _mm256_set1_ps(0.5f))), 24);
  const __m256i entries = _mm256_i32gather_epi32(reinterpret_cast<const int*>(q.table), slot, 4);
  const __m256i mask = _mm256_set_m128i(q.colourMask, q.colourMask);
  PutEight<Mode, Streaming>(row, x, _mm256_or_si256(_mm256_and_si256(entries, mask), alphaBytes));
}

STEP_WIDE inline __m256i WideBytes(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }

// LiveFlags thirty-two cells at a time, as far as they go; returns the first
// column left over. Once the cell values are only stepped, not coloured,
// the row's flags and sums are a third of the step's work.
STEP_WIDE int32_t LiveFlagsWide(const float* row, int32_t w, uint8_t* flags) {
  const __m256 epsilon = _mm256_set1_ps(kCellEpsilon);
  // The packs interleave the four groups of eight by 128-bit lanes; this
  // puts their 4-byte pieces back in order.
  const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
  const __m256i one = _mm256_set1_epi8(1);
  int32_t x = 0;
  for (; x + 32 <= w; x += 32) {
    const float* p = row + x;
    const __m256i a = _mm256_castps_si256(_mm256_cmp_ps(_mm256_loadu_ps(p), epsilon, _CMP_GE_OQ));
    const __m256i b = _mm256_castps_si256(_mm256_cmp_ps(_mm256_loadu_ps(p + 8), epsilon, _CMP_GE_OQ));
    const __m256i c = _mm256_castps_si256(_mm256_cmp_ps(_mm256_loadu_ps(p + 16), epsilon, _CMP_GE_OQ));
    const __m256i d = _mm256_castps_si256(_mm256_cmp_ps(_mm256_loadu_ps(p + 24), epsilon, _CMP_GE_OQ));
    const __m256i bytes = _mm256_packs_epi16(_mm256_packs_epi32(a, b), _mm256_packs_epi32(c, d));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(flags + x),
                        _mm256_and_si256(_mm256_permutevar8x32_epi32(bytes, order), one));
  }
  return x;
}

// ColumnSums thirty-two columns at a time; returns the first column left over.
STEP_WIDE int32_t ColumnSumsWide(const uint8_t* up, const uint8_t* mid, const uint8_t* down, int32_t w,
                                 uint8_t* sums) {
  int32_t x = 0;
  for (; x + 32 <= w; x += 32)
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + x),
                        _mm256_add_epi8(_mm256_add_epi8(WideBytes(up + x), WideBytes(mid + x)), WideBytes(down + x)));
  return x;
}

// The low eight byte masks of `m` as lane masks.
STEP_WIDE inline __m256 LaneMasks(__m128i m) { return _mm256_castsi256_ps(_mm256_cvtepi8_epi32(m)); }

// One row's cells in groups of thirty-two, as far as they go; returns the
// first column left over.
template <int Mode, bool Streaming, bool Generations>
STEP_WIDE int32_t StepRowWide(const VectorRules& q, const float* mid, const uint8_t* sums, const uint8_t* live,
                              float* out, int32_t w, __m128i& liveTotal, __m128i& ageTotal, __m128i& dyingTotal,
                              const RowColours<Mode, Streaming>& row) {
  __m256i bornCounts[9];
  __m256i surviveCounts[9];
  for (int k = 0; k < q.bornCountNumber; ++k) bornCounts[k] = _mm256_set_m128i(q.bornCounts[k], q.bornCounts[k]);
  for (int k = 0; k < q.surviveCountNumber; ++k)
    surviveCounts[k] = _mm256_set_m128i(q.surviveCounts[k], q.surviveCounts[k]);
  __m256i liveCount = _mm256_setzero_si256();
  __m256i ageCount = _mm256_setzero_si256();
  __m256i dyingCount = _mm256_setzero_si256();
  int32_t x = 0;
  for (; x + 32 <= w; x += 32) {
    const __m256i around =
        _mm256_add_epi8(_mm256_add_epi8(WideBytes(sums + x), WideBytes(sums + x + 1)), WideBytes(sums + x + 2));
    const __m256i neighbours = _mm256_sub_epi8(around, WideBytes(live + x));
    __m256i born = _mm256_setzero_si256();
    for (int k = 0; k < q.bornCountNumber; ++k)
      born = _mm256_or_si256(born, _mm256_cmpeq_epi8(neighbours, bornCounts[k]));
    __m256i survive = _mm256_setzero_si256();
    for (int k = 0; k < q.surviveCountNumber; ++k)
      survive = _mm256_or_si256(survive, _mm256_cmpeq_epi8(neighbours, surviveCounts[k]));
    // Byte masks widened to lane masks, eight cells at a time.
    const __m128i bornLow = _mm256_castsi256_si128(born);
    const __m128i bornHigh = _mm256_extracti128_si256(born, 1);
    const __m128i surviveLow = _mm256_castsi256_si128(survive);
    const __m128i surviveHigh = _mm256_extracti128_si256(survive, 1);
    if constexpr (Generations) {
      StepEightCellsGenerations<Mode, Streaming>(q, mid + x, LaneMasks(bornLow), LaneMasks(surviveLow), out + x,
                                                 liveCount, ageCount, dyingCount, row, x);
      StepEightCellsGenerations<Mode, Streaming>(q, mid + x + 8, LaneMasks(_mm_srli_si128(bornLow, 8)),
                                                 LaneMasks(_mm_srli_si128(surviveLow, 8)), out + x + 8, liveCount,
                                                 ageCount, dyingCount, row, x + 8);
      StepEightCellsGenerations<Mode, Streaming>(q, mid + x + 16, LaneMasks(bornHigh), LaneMasks(surviveHigh),
                                                 out + x + 16, liveCount, ageCount, dyingCount, row, x + 16);
      StepEightCellsGenerations<Mode, Streaming>(q, mid + x + 24, LaneMasks(_mm_srli_si128(bornHigh, 8)),
                                                 LaneMasks(_mm_srli_si128(surviveHigh, 8)), out + x + 24, liveCount,
                                                 ageCount, dyingCount, row, x + 24);
    } else {
      StepEightCells<Mode, Streaming>(q, mid + x, LaneMasks(bornLow), LaneMasks(surviveLow), out + x, liveCount, ageCount, row,
                                      x);
      StepEightCells<Mode, Streaming>(q, mid + x + 8, LaneMasks(_mm_srli_si128(bornLow, 8)),
                                      LaneMasks(_mm_srli_si128(surviveLow, 8)), out + x + 8, liveCount, ageCount, row, x + 8);
      StepEightCells<Mode, Streaming>(q, mid + x + 16, LaneMasks(bornHigh), LaneMasks(surviveHigh), out + x + 16, liveCount,
                                      ageCount, row, x + 16);
      StepEightCells<Mode, Streaming>(q, mid + x + 24, LaneMasks(_mm_srli_si128(bornHigh, 8)),
                                      LaneMasks(_mm_srli_si128(surviveHigh, 8)), out + x + 24, liveCount, ageCount, row,
                                      x + 24);
    }
  }
  liveTotal = _mm_add_epi32(liveTotal, _mm_add_epi32(_mm256_castsi256_si128(liveCount),
                                                     _mm256_extracti128_si256(liveCount, 1)));
  ageTotal = _mm_add_epi32(ageTotal, _mm_add_epi32(_mm256_castsi256_si128(ageCount),
                                                   _mm256_extracti128_si256(ageCount, 1)));
  if (Generations)
    dyingTotal = _mm_add_epi32(dyingTotal, _mm_add_epi32(_mm256_castsi256_si128(dyingCount),
                                                         _mm256_extracti128_si256(dyingCount, 1)));
  return x;
}
#endif

inline size_t ScratchRowBytes(int32_t columns) { return (static_cast<size_t>(columns) + 2 + 15) / 16 * 16 + 16; }


// One generation of `field` into its next cells and `mesh`'s vertex colours;
// the live cells and their ages added up. `scratch` holds 4 rows of
// ScratchRowBytes.
template <int Mode, bool Streaming, bool Generations>
void StepCells(LifeField& field, FieldMesh& mesh, uint8_t* scratch, bool allowWideVectors, uint32_t& liveSum,
               uint32_t& ageSum, uint32_t& dyingSum) {
  const int32_t w = field.columns;
  const int32_t h = field.rows;
  const LifeRule& rule = field.rule;
  static_cast<void>(allowWideVectors);  // no wider vectors without SSE2
  const int32_t paletteSize = mesh.paletteSize;
  mesh.paletteColours[static_cast<size_t>(paletteSize)] =
      Rgba8{ColourByte(mesh.background[0]), ColourByte(mesh.background[1]), ColourByte(mesh.background[2]), 0};

  StepRules r;
  std::memcpy(r.born, rule.born, 9);
  std::memcpy(r.survive, rule.survive, 9);
  r.dieSlowly = rule.dieSlowly;
  r.dieStep = rule.dieStep;
  r.states = rule.StepStates();
  r.tableSize = paletteSize;
  r.table = mesh.paletteColours.get();
#if defined(__SSE2__)
  VectorRules q;
  q.bornCountNumber = 0;
  q.surviveCountNumber = 0;
  for (int k = 0; k < 9; ++k) {
    if (rule.born[k]) q.bornCounts[q.bornCountNumber++] = _mm_set1_epi8(static_cast<char>(k));
    if (rule.survive[k]) q.surviveCounts[q.surviveCountNumber++] = _mm_set1_epi8(static_cast<char>(k));
  }
  q.dieSlowly = rule.dieSlowly ? _mm_castsi128_ps(_mm_set1_epi32(-1)) : _mm_setzero_ps();
  q.dieStep = _mm_set1_ps(r.dieStep);
  q.lastPaletteIndex = _mm_set1_epi32(paletteSize - 1);
  q.blackSlot = _mm_set1_epi32(paletteSize + 1);
  q.minusEpsilon = _mm_set1_ps(-kCellEpsilon);
  q.infinity = _mm_set1_ps(std::numeric_limits<float>::infinity());
  q.colourMask = _mm_set1_epi32(Word(Rgba8{255, 255, 255, 0}));
  q.states = _mm_set1_epi32(r.states);
  q.statesLessOne = _mm_set1_ps(static_cast<float>(r.states - 1));
  q.dyingLimit = _mm_set1_ps(kDyingLimit);

  q.tableSize = paletteSize;
  q.table = mesh.paletteColours.get();
  __m128i liveCount = _mm_setzero_si128();
  __m128i ageCount = _mm_setzero_si128();
  __m128i dyingCount = _mm_setzero_si128();
#endif
#if defined(STEP_HAS_WIDE)
  const bool wide = allowWideVectors && WideVectorsAvailable();
#endif

  // Scratch rows: live flags of the rows above, at and below the current one
  // (rotating, so each row's flags are worked out once), and the column sums
  // with [0] and [w + 1] repeating the wrapped columns.
  const size_t scratchRow = ScratchRowBytes(w);
  uint8_t* above = scratch;
  uint8_t* current = above + scratchRow;
  uint8_t* below = current + scratchRow;
  uint8_t* sums = below + scratchRow;
  const float* grid = field.cells.get();
  auto gridRow = [grid, w](int32_t y) { return grid + static_cast<size_t>(y) * static_cast<size_t>(w); };
  Rgba8* colourBase = mesh.colours.get();
  uint32_t live = 0;
  uint32_t ages = 0;
  uint32_t dying = 0;

  auto liveFlags = [&](const float* row, uint8_t* flags) {
    int32_t x = 0;
#if defined(STEP_HAS_WIDE)
    if (wide) x = LiveFlagsWide(row, w, flags);
#endif
    LiveFlags(row, w, flags, x);
  };
  auto columnSums = [&](uint8_t* out) {
    int32_t x = 0;
#if defined(STEP_HAS_WIDE)
    if (wide) x = ColumnSumsWide(above, current, below, w, out);
#endif
    ColumnSums(above, current, below, w, out, x);
  };
  liveFlags(gridRow(h - 1), above);
  liveFlags(gridRow(0), current);
  for (int32_t y = 0; y < h; ++y) {
    const float* mid = gridRow(y);
    float* out = field.nextCells.get() + static_cast<size_t>(y) * w;
    liveFlags(gridRow(y == h - 1 ? 0 : y + 1), below);
    columnSums(sums + 1);
    sums[0] = sums[w];
    sums[w + 1] = sums[1];

    RowColours<Mode, Streaming> row;
    if (Mode == 0) {
      row.lower = colourBase + static_cast<size_t>(2 * y) * (static_cast<size_t>(w) * 2);
      row.upper = row.lower + static_cast<size_t>(w) * 2;
    } else if (Mode == 1) {
      row.lower = colourBase + static_cast<size_t>(y) * (static_cast<size_t>(w) + 1);
      row.upper = nullptr;
    } else {
      row.lower = row.upper = nullptr;
    }

    int32_t x = 0;
#if defined(STEP_HAS_WIDE)
    if (wide)
      x = StepRowWide<Mode, Streaming, Generations>(q, mid, sums, current, out, w, liveCount, ageCount, dyingCount,
                                                    row);
#endif
#if defined(__SSE2__)
    for (; x + 16 <= w; x += 16)
      StepSixteenCells<Mode, Streaming, Generations>(q, mid + x, sums + x, current + x, out + x, liveCount, ageCount,
                                                     dyingCount, row, x);
#endif
    for (; x < w; ++x) {
      const int32_t neighbours = sums[x] + sums[x + 1] + sums[x + 2] - current[x];
      if constexpr (Generations)
        StepOneCellGenerations<Mode, Streaming>(r, mid[x], neighbours, out[x], live, ages, dying, row, x);
      else
        StepOneCell<Mode, Streaming>(r, mid[x], neighbours, out[x], live, ages, row, x);
    }

    if (Mode == 1) {
      // The extra column of vertices repeats the last column, and the extra
      // top row the last row.
      Rgba8* lower = row.lower;
      StoreColour<Streaming>(lower + w, lower[w - 1]);
      if (y == h - 1) {
        Rgba8* top = lower + w + 1;
        for (int32_t i = 0; i <= w; ++i) StoreColour<Streaming>(top + i, lower[i]);
      }
    }

    uint8_t* spare = above;
    above = current;
    current = below;
    below = spare;
  }
  FinishColourStores<Streaming>();
#if defined(__SSE2__)
  const uint32_t vectorLive = LaneSum(liveCount);
  live += vectorLive;
  ages += LaneSum(ageCount) + vectorLive;
  if (Generations) dying += LaneSum(dyingCount);
#endif
  liveSum = live;
  ageSum = ages;
  dyingSum = dying;
}

template <bool Generations>
void StepCellsOf(LifeField& field, FieldMesh& mesh, uint8_t* scratch, bool wide, bool streaming, uint32_t& live,
                 uint32_t& ageSum, uint32_t& dying) {
  if (mesh.valuesOnly)
    StepCells<kValuesOnly, false, Generations>(field, mesh, scratch, wide, live, ageSum, dying);
  else if (mesh.drawMode == 0)
    streaming ? StepCells<0, true, Generations>(field, mesh, scratch, wide, live, ageSum, dying)
              : StepCells<0, false, Generations>(field, mesh, scratch, wide, live, ageSum, dying);
  else
    streaming ? StepCells<1, true, Generations>(field, mesh, scratch, wide, live, ageSum, dying)
              : StepCells<1, false, Generations>(field, mesh, scratch, wide, live, ageSum, dying);
}

// Stores each reseeded cell's colour in the mesh.
class MeshPainter : public ICellListener {
 public:
  explicit MeshPainter(FieldMesh& mesh) : mesh(mesh) {}
  void CellStored(int32_t column, int32_t row, float value) override {
    mesh.PaintCell(column, row, mesh.CellColour(value));
  }

 private:
  FieldMesh& mesh;
};

}  // namespace

void RepaintFieldColours(const LifeField& field, FieldMesh& mesh) {
  ++mesh.colourChanges;
  if (!mesh.colours || !field.cells || !field.nextCells || mesh.columns != field.columns || mesh.rows != field.rows)
    return;
  const int32_t states = field.steppedStates;
  const int32_t tableSize = mesh.paletteSize;
  const Rgba8* table = mesh.paletteColours.get();
  const Rgba8 background{ColourByte(mesh.background[0]), ColourByte(mesh.background[1]),
                         ColourByte(mesh.background[2]), 255};
  for (int32_t y = 0; y < field.rows; ++y) {
    for (int32_t x = 0; x < field.columns; ++x) {
      const size_t i = field.Index(x, y);
      const float v = field.cells[i];
      // The step writes every cell that held or now holds anything.
      Rgba8 colour{};
      if (v == 0.0f) {
        if (field.nextCells[i] != 0.0f) colour = background;
      } else if (v < 0.0f && states > 2) {
        const int32_t bits = -v < kDyingLimit ? static_cast<int32_t>(-v) : 0;
        const int32_t index = bits >> 8;
        colour = table[index < tableSize ? index : index % tableSize];
        colour.a = ColourByte(static_cast<float>(states - (bits & kDyingStateBits)) / static_cast<float>(states - 1));
      } else {
        colour = mesh.CellColour(v);
      }
      mesh.PaintCell(x, y, colour);
    }
  }
}

void ReseedFieldAndMesh(LifeField& field, FieldMesh& mesh) {
  MeshPainter painter(mesh);
  field.Reseed(&painter);
}

void StepFieldAndMesh(LifeField& field, FieldMesh& mesh, const StepTuning& tuning) {
  if (field.ReseedDue()) ReseedFieldAndMesh(field, mesh);

  // Dying cells of one family mean nothing to the other (fading magnitudes
  // against dying states): a change between the two drops them.
  const int32_t states = field.rule.StepStates();
  if ((states > 2) != (field.steppedStates > 2) && field.cells) {
    float* cells = field.cells.get();
    const size_t count = field.cells.size();
    for (size_t i = 0; i < count; ++i)
      if (cells[i] < 0.0f) cells[i] = 0.0f;
  }
  field.steppedStates = states;

  uint32_t live = 0;
  uint32_t ageSum = 0;
  uint32_t dying = 0;
  if (field.columns > 0 && field.rows > 0 && field.cells && (mesh.valuesOnly || mesh.colours) &&
      mesh.columns == field.columns &&
      mesh.rows == field.rows) {
    const size_t scratchBytes = 4 * ScratchRowBytes(field.columns);
    if (field.stepScratch.size() != scratchBytes) field.stepScratch.Allocate(scratchBytes);
    uint8_t* scratch = field.stepScratch.get();
    const bool streaming = mesh.colours.size() * sizeof(Rgba8) > tuning.streamingColourBytes;
    const bool wide = tuning.allowWideVectors;
    if (states > 2)
      StepCellsOf<true>(field, mesh, scratch, wide, streaming, live, ageSum, dying);
    else
      StepCellsOf<false>(field, mesh, scratch, wide, streaming, live, ageSum, dying);
    field.cells.Swap(field.nextCells);
    ++mesh.colourChanges;
    ++mesh.valueSteps;
  } else {
    mesh.ClearColours();  // a field without cells leaves only cleared vertices
  }
  field.dying = dying;
  field.CountGeneration(live, ageSum);
}
