// Seeding the field: the process-wide random generator and the three fill
// patterns.
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
}  // namespace

void LifeField::Reseed(ICellListener* listener) {
  cells.FillZero();
  nextCells.FillZero();
  steadyPopulationCount = 0;
  generation = 0;
  populationSum = 0;
  steadyAverageCount = 0;
  averageAge = 0.0f;
  if (!cells) return;

  const int32_t w = columns;
  const int32_t h = rows;
  auto store = [this, listener](int32_t x, int32_t y) {
    const float value = RandomCell();
    if (listener != nullptr) listener->CellStored(x, y, value);
    cells[Index(x, y)] = value;
  };
  switch (reseed.fillMode) {
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
    default:
      for (int32_t x = 0; x < w; ++x)
        for (int32_t y = 0; y < h; ++y) store(x, y);
      break;
  }
}
