// Seeding the field: the process-wide random generator and the fill modes.
#include <algorithm>
#include <cmath>
#include <ctime>

#include "life/field/life_field.h"

uint32_t randomState = static_cast<uint32_t>(std::time(nullptr));

int32_t NextRandom() {
  randomState = randomState * 214013u + 2531011u;
  return static_cast<int32_t>((randomState >> 16) & 0x7FFFu);
}

namespace {
float RandomCell() { return (2 * NextRandom()) / 32768 == 0 ? 1.0f : 0.0f; }

// 0..limit - 1; one draw covers 15 bits, wider fields take two.
int32_t RandomBelow(int32_t limit) {
  if (limit <= 1) return 0;
  if (limit <= 32768) return NextRandom() % limit;
  const int32_t high = NextRandom();
  return static_cast<int32_t>(((static_cast<uint32_t>(high) << 15) | static_cast<uint32_t>(NextRandom())) %
                              static_cast<uint32_t>(limit));
}

// A pattern cell as the step keeps it: a live cell as newborn; under a
// Generations rule a dying state as the step writes one, -(index * 256 +
// state), with the palette index a newborn is drawn with (see field_step.cpp).
// States the rule does not have are no cell (0).
float PatternCellValue(uint8_t state, int32_t ruleStates) {
  if (state <= 1) return 1.0f;
  if (ruleStates <= 2 || state >= ruleStates) return 0.0f;
  return -static_cast<float>(256 + static_cast<int32_t>(state));
}

// Turns (0..3 quarter turns clockwise) and mirrors (bit 2) a pattern's box.
struct Orientation {
  int32_t turns = 0;
  bool mirrored = false;
  int32_t width = 0;   // of the box once turned
  int32_t height = 0;
  Orientation(int32_t code, const Pattern& p)
      : turns(code & 3), mirrored((code & 4) != 0),
        width((code & 1) != 0 ? p.height : p.width), height((code & 1) != 0 ? p.width : p.height) {}
  void Apply(const Pattern& p, int32_t x, int32_t y, int32_t& outX, int32_t& outY) const {
    if (mirrored) x = p.width - 1 - x;
    switch (turns) {
      case 1: outX = p.height - 1 - y; outY = x; break;
      case 2: outX = p.width - 1 - x; outY = p.height - 1 - y; break;
      case 3: outX = y; outY = p.width - 1 - x; break;
      default: outX = x; outY = y; break;
    }
  }
};

bool Placeable(const Pattern* p) { return p != nullptr && p->width > 0 && p->height > 0 && !p->cells.empty(); }
}  // namespace

void LifeField::ScatterFamous(ICellListener* listener) {
  const int32_t w = columns;
  const int32_t h = rows;
  const int32_t states = rule.StepStates();
  // A box needs its margin on one side at least, or on the torus it would
  // touch itself.
  auto fits = [w, h](int32_t bw, int32_t bh) { return bw + kPatternMargin <= w && bh + kPatternMargin <= h; };
  uint64_t smallest = 0;
  for (const Pattern* p : reseed.famous) {
    if (!Placeable(p) || !(fits(p->width, p->height) || fits(p->height, p->width))) continue;
    const uint64_t area = static_cast<uint64_t>(p->width) * static_cast<uint64_t>(p->height);
    if (smallest == 0 || area < smallest) smallest = area;
  }
  if (smallest == 0) return;  // the field is too small for any of them

  const uint64_t target = static_cast<uint64_t>(w) * static_cast<uint64_t>(h) / 5;
  seedMask.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  // Enough tries to reach the target with the smallest pattern several
  // times over; a crowded field ends them early rather than never.
  const uint64_t attempts = std::min<uint64_t>(256 + 32 * (target / smallest), uint64_t{1} << 20);
  const int32_t count = static_cast<int32_t>(reseed.famous.size());
  for (uint64_t attempt = 0; attempt < attempts && lastSeed.coveredCells < target; ++attempt) {
    const int32_t which = RandomBelow(count);
    const Pattern* p = reseed.famous[static_cast<size_t>(which)];
    if (!Placeable(p)) continue;
    const Orientation turn(NextRandom() & 7, *p);
    if (!fits(turn.width, turn.height)) continue;
    const int32_t left = RandomBelow(w);
    const int32_t top = RandomBelow(h);

    // The box and its margins, wrapped, must be clear of every box placed.
    const int32_t spanX = std::min(turn.width + 2 * kPatternMargin, w);
    const int32_t spanY = std::min(turn.height + 2 * kPatternMargin, h);
    const int32_t startX = (left - kPatternMargin + w) % w;
    const int32_t startY = (top - kPatternMargin + h) % h;
    bool clear = true;
    for (int32_t dy = 0; dy < spanY && clear; ++dy) {
      const uint8_t* row = seedMask.data() + static_cast<size_t>((startY + dy) % h) * static_cast<size_t>(w);
      int32_t x = startX;
      for (int32_t dx = 0; dx < spanX; ++dx) {
        if (row[x] != 0) {
          clear = false;
          break;
        }
        if (++x == w) x = 0;
      }
    }
    if (!clear) continue;

    for (int32_t dy = 0; dy < turn.height; ++dy) {
      uint8_t* row = seedMask.data() + static_cast<size_t>((top + dy) % h) * static_cast<size_t>(w);
      int32_t x = left;
      for (int32_t dx = 0; dx < turn.width; ++dx) {
        row[x] = 1;
        if (++x == w) x = 0;
      }
    }
    for (const PatternCell& c : p->cells) {
      const float value = PatternCellValue(c.state, states);
      if (value == 0.0f) continue;
      int32_t tx = 0;
      int32_t ty = 0;
      turn.Apply(*p, c.x, c.y, tx, ty);
      const int32_t x = (left + tx) % w;
      const int32_t y = (top + ty) % h;
      if (listener != nullptr) listener->CellStored(x, y, value);
      cells[Index(x, y)] = value;
    }
    lastSeed.placed += 1;
    lastSeed.lastFamous = which;
    lastSeed.coveredCells += static_cast<uint64_t>(turn.width) * static_cast<uint64_t>(turn.height);
  }
}

void LifeField::PlaceChosen(ICellListener* listener) {
  const Pattern& p = *reseed.chosen;
  const int32_t states = rule.StepStates();
  // Centred; a pattern larger than the field loses what lies past its edges
  // (wrapping would fold it onto itself).
  const int32_t left = (columns - p.width) / 2;
  const int32_t top = (rows - p.height) / 2;
  lastSeed.cut = p.width > columns || p.height > rows;
  for (const PatternCell& c : p.cells) {
    const int32_t x = left + c.x;
    const int32_t y = top + c.y;
    if (x < 0 || x >= columns || y < 0 || y >= rows) {
      lastSeed.cut = true;
      continue;
    }
    const float value = PatternCellValue(c.state, states);
    if (value == 0.0f) continue;
    if (listener != nullptr) listener->CellStored(x, y, value);
    cells[Index(x, y)] = value;
  }
  lastSeed.placed = 1;
  lastSeed.coveredCells = static_cast<uint64_t>(std::min(p.width, columns)) *
                          static_cast<uint64_t>(std::min(p.height, rows));
}

void LifeField::Reseed(ICellListener* listener) {
  cells.FillZero();
  nextCells.FillZero();
  steadyPopulationCount = 0;
  generation = 0;
  populationSum = 0;
  steadyAverageCount = 0;
  averageAge = 0.0f;
  lastSeed = SeedReport();
  if (!cells) return;

  const int32_t w = columns;
  const int32_t h = rows;
  auto store = [this, listener](int32_t x, int32_t y) {
    const float value = RandomCell();
    if (listener != nullptr) listener->CellStored(x, y, value);
    cells[Index(x, y)] = value;
  };
  int32_t mode = reseed.fillMode;
  if ((mode == 3 && reseed.famous.empty()) || (mode == 4 && !Placeable(reseed.chosen.get()))) {
    lastSeed.nothingToPlace = true;
    mode = 0;
  }
  lastSeed.mode = mode;
  switch (mode) {
    case 1:
      for (int32_t x = w / 2 - w / 8; x < w / 2 + w / 8; ++x)
        for (int32_t y = h / 2 - h / 8; y < h / 2 + h / 8; ++y) store(x, y);
      break;
    case 2: {
      const int32_t radius = (w < h ? w : h) / 10;
      for (int32_t y = h / 2 - radius; y < h / 2 + radius; ++y) {
        for (int32_t x = w / 2 - radius; x < w / 2 + radius; ++x) {
          const int32_t dy = h / 2 - y;
          const int32_t dx = w / 2 - x;
          const int32_t distance = static_cast<int32_t>(std::sqrt(static_cast<float>(dy * dy + dx * dx)));
          if (distance <= radius) store(x, y);
        }
      }
      break;
    }
    case 3:
      ScatterFamous(listener);
      // A field too small for every candidate would stay empty through every
      // later reset: it fills as mode 0 instead.
      if (lastSeed.placed == 0) {
        lastSeed.nothingToPlace = true;
        lastSeed.mode = 0;
        for (int32_t x = 0; x < w; ++x)
          for (int32_t y = 0; y < h; ++y) store(x, y);
      }
      break;
    case 4:
      PlaceChosen(listener);
      break;
    default:
      for (int32_t x = 0; x < w; ++x)
        for (int32_t y = 0; y < h; ++y) store(x, y);
      break;
  }
}
