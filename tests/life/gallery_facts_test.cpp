// Every gallery entry against a documented fact about it, run with the
// field's own step on a torus large enough that nothing wraps round into the
// pattern before the fact is due. The acorn's thirteen gliders fly off in
// all four diagonal directions; a torus of 2048 x 256 keeps them out of its
// debris and out of each other's way until generation 5206 (1280 x 1280 does
// not), at an eighth of the cost of 2048 x 2048.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "life/field/field_mesh.h"
#include "life/field/field_step.h"
#include "life/field/life_field.h"
#include "life/named_rules.h"
#include "life/pattern_gallery.h"

namespace {

enum class Fact {
  kPeriodic,  // back to its shape, moved by (dx, dy), after `period` and not before
  kGrowth,    // `figure` more cells every `period` generations (guns, puffers)
  kSettles,   // `figure` cells at generation `period`, the last one that changes it
  kCopies,    // after `period`, two copies: moved by (dx, dy) and by (-dx, -dy)
  kBecomes,   // after `period`, the shape of entry `other`
  kComesFrom  // entry `other`, after `period`, has this shape
};

struct FactRow {
  const char* name;
  Fact fact;
  int32_t period;
  int32_t dx = 0;
  int32_t dy = 0;
  int32_t figure = 0;
  int32_t columns = 64;  // of the torus
  int32_t rows = 0;      // 0: as many as columns
  const char* other = nullptr;
};

const FactRow kFacts[] = {
    {"Glider", Fact::kPeriodic, 4, 1, 1},
    {"Lightweight spaceship", Fact::kPeriodic, 4, -2, 0},
    {"Middleweight spaceship", Fact::kPeriodic, 4, -2, 0},
    {"Heavyweight spaceship", Fact::kPeriodic, 4, -2, 0},
    {"Copperhead", Fact::kPeriodic, 10, 0, -1},
    {"Loafer", Fact::kPeriodic, 7, -1, 0},
    {"Gosper glider gun", Fact::kGrowth, 30, 0, 0, 5, 256},
    {"Simkin glider gun", Fact::kGrowth, 120, 0, 0, 10, 512},
    {"Bi-gun", Fact::kGrowth, 46, 0, 0, 10, 256},
    {"Blinker puffer 1", Fact::kGrowth, 8, 0, 0, 3, 128},
    {"Pufferfish", Fact::kGrowth, 12, 0, 0, 8, 128},
    {"R-pentomino", Fact::kSettles, 1103, 0, 0, 116, 1024},
    {"Acorn", Fact::kSettles, 5206, 0, 0, 633, 2048, 256},
    {"Diehard", Fact::kSettles, 130, 0, 0, 0, 128},
    {"Rabbits", Fact::kComesFrom, 1, 0, 0, 0, 64, 0, "Bunnies"},
    {"Bunnies", Fact::kBecomes, 1, 0, 0, 0, 64, 0, "Rabbits"},
    {"Pi-heptomino", Fact::kSettles, 173, 0, 0, 55, 256},
    {"B-heptomino", Fact::kSettles, 148, 0, 0, 28, 256},
    {"Blinker", Fact::kPeriodic, 2},
    {"Toad", Fact::kPeriodic, 2},
    {"Beacon", Fact::kPeriodic, 2},
    {"Clock", Fact::kPeriodic, 2},
    {"Pulsar", Fact::kPeriodic, 3},
    {"Pentadecathlon", Fact::kPeriodic, 15},
    {"Octagon 2", Fact::kPeriodic, 5},
    {"Kok's galaxy", Fact::kPeriodic, 8},
    {"Queen bee shuttle", Fact::kPeriodic, 30},
    {"Twin bees shuttle", Fact::kPeriodic, 46},
    {"Figure eight", Fact::kPeriodic, 8},
    {"Tumbler", Fact::kPeriodic, 14},
    {"1-2-3", Fact::kPeriodic, 3},
    {"101", Fact::kPeriodic, 5},
    {"Replicator", Fact::kCopies, 12, 2, 2},
    {"Seeds photon", Fact::kPeriodic, 1, 1, 0},
    {"Duoplet", Fact::kPeriodic, 2},
    {"Day & Night diagonal ship", Fact::kPeriodic, 3, -1, 1},
    {"Day & Night cross", Fact::kPeriodic, 4},
    {"Brain lightspeed ship", Fact::kPeriodic, 1, 0, -1},
    {"Brain p3 oscillator", Fact::kPeriodic, 3},
    {"Star Wars lightspeed ship", Fact::kPeriodic, 1, 0, -1},
    {"Star Wars arrow", Fact::kPeriodic, 2, 0, -2},
    {"Star Wars spinner", Fact::kPeriodic, 4},
};

using Cell = std::tuple<int32_t, int32_t, int>;  // x, y, state
using Cells = std::set<Cell>;

// A torus of columns x rows cells under an entry's rule, with the pattern's
// top-left corner in the middle, and nothing else: no fading, no reseeding.
class Torus {
 public:
  Torus(const GalleryEntry& entry, const FactRow& row)
      : columns(row.columns), rows(row.rows > 0 ? row.rows : row.columns) {
    field.Resize(columns, rows);
    RuleFlags(entry.rule.born, field.rule.born);
    RuleFlags(entry.rule.survive, field.rule.survive);
    field.rule.states = entry.rule.states;
    field.rule.dieSlowly = false;
    field.reseed.periodic = false;
    field.reseed.automatic = false;
    mesh.Build(columns, rows, 1);
    // The step drops dying cells when the state count changes from the last
    // generation's; one generation of the empty field sets it.
    Step();
    Place(entry, columns / 2, rows / 2);
  }

  void Place(const GalleryEntry& entry, int32_t left, int32_t top) {
    for (const PatternCell& c : entry.pattern.cells)
      field.cells[field.Index((left + c.x) % columns, (top + c.y) % rows)] =
          c.state == 1 ? 1.0f : -static_cast<float>(c.state);  // a dying state, palette index 0
  }

  void Step(int32_t generations = 1) {
    for (int32_t g = 0; g < generations; ++g) StepFieldAndMesh(field, mesh, StepTuning{});
  }

  // Live cells as state 1, dying ones (Generations rules) by their state.
  Cells Snapshot() const {
    Cells cells;
    for (int32_t y = 0; y < rows; ++y)
      for (int32_t x = 0; x < columns; ++x) {
        const float v = field.Cell(x, y);
        if (v > 0.0f) cells.insert({x, y, 1});
        if (v < 0.0f && field.rule.states > 2) cells.insert({x, y, static_cast<int>(-v) & 0xFF});
      }
    return cells;
  }

  int32_t Population() const {
    int32_t live = 0;
    for (const Cell& c : Snapshot()) live += std::get<2>(c) == 1 ? 1 : 0;
    return live;
  }

  Cells Moved(const Cells& cells, int32_t dx, int32_t dy) const {
    Cells moved;
    for (const auto& [x, y, state] : cells) moved.insert({(x + dx + columns) % columns, (y + dy + rows) % rows, state});
    return moved;
  }

  int32_t columns;
  int32_t rows;
  LifeField field;
  FieldMesh mesh;
};

// The cells moved so that their bounding box starts at (0, 0): the shape
// wherever it is.
Cells Shape(const Cells& cells) {
  int32_t left = INT32_MAX;
  int32_t top = INT32_MAX;
  for (const auto& [x, y, state] : cells) {
    left = std::min(left, x);
    top = std::min(top, y);
  }
  Cells shape;
  for (const auto& [x, y, state] : cells) shape.insert({x - left, y - top, state});
  return shape;
}

const GalleryEntry& Entry(const char* name) {
  const GalleryEntry* entry = FindGalleryEntry(name);
  EXPECT_NE(entry, nullptr) << name;
  static const GalleryEntry none;
  return entry ? *entry : none;
}

void CheckFact(const FactRow& row) {
  const GalleryEntry& entry = Entry(row.name);
  Torus torus(entry, row);
  const Cells start = torus.Snapshot();
  ASSERT_FALSE(start.empty());
  switch (row.fact) {
    case Fact::kPeriodic:
      for (int32_t g = 1; g < row.period; ++g) {
        torus.Step();
        ASSERT_NE(Shape(torus.Snapshot()), Shape(start)) << "back to its shape after only " << g;
      }
      torus.Step();
      EXPECT_EQ(torus.Snapshot(), torus.Moved(start, row.dx, row.dy));
      break;
    case Fact::kGrowth: {
      int32_t before = torus.Population();
      for (int k = 1; k <= 3; ++k) {
        torus.Step(row.period);
        const int32_t after = torus.Population();
        EXPECT_EQ(after - before, row.figure) << "over period " << k;
        before = after;
      }
      break;
    }
    case Fact::kSettles: {
      torus.Step(row.period - 1);
      const int32_t before = torus.Population();
      torus.Step();
      EXPECT_EQ(torus.Population(), row.figure);
      EXPECT_NE(before, row.figure) << "settled earlier";
      torus.Step(2);
      EXPECT_EQ(torus.Population(), row.figure) << "not settled";
      break;
    }
    case Fact::kCopies: {
      Cells both = torus.Moved(start, row.dx, row.dy);
      for (const Cell& c : torus.Moved(start, -row.dx, -row.dy)) both.insert(c);
      torus.Step(row.period);
      EXPECT_EQ(torus.Snapshot(), both);
      break;
    }
    case Fact::kBecomes:
      torus.Step(row.period);
      EXPECT_EQ(Shape(torus.Snapshot()), Shape(Torus(Entry(row.other), row).Snapshot()));
      break;
    case Fact::kComesFrom: {
      Torus parent(Entry(row.other), row);
      parent.Step(row.period);
      EXPECT_EQ(Shape(parent.Snapshot()), Shape(start));
      break;
    }
  }
}

TEST(GalleryFacts, EveryEntryHasOneFactAndEveryFactAnEntry) {
  std::set<std::string> rows;
  for (const FactRow& row : kFacts) {
    EXPECT_TRUE(rows.insert(row.name).second) << row.name << " twice";
    EXPECT_NE(FindGalleryEntry(row.name), nullptr) << row.name;
  }
  for (const GalleryEntry& entry : PatternGallery()) EXPECT_EQ(rows.count(entry.name), 1u) << entry.name;
}

class GalleryFact : public testing::TestWithParam<FactRow> {};

TEST_P(GalleryFact, Holds) { CheckFact(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Entries, GalleryFact, testing::ValuesIn(kFacts),
                         [](const testing::TestParamInfo<FactRow>& info) {
                           std::string name;
                           for (const char* c = info.param.name; *c; ++c)
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           return "_" + name;
                         });

// The checks themselves catch a wrong row: a glider read as an oscillator,
// a gun's wrong rate, a methuselah's figure one generation early.
TEST(GalleryFacts, WrongFactsFail) {
  const FactRow wrong[] = {
      {"Glider", Fact::kPeriodic, 4, 0, 0},
      {"Gosper glider gun", Fact::kGrowth, 30, 0, 0, 10, 256},
      {"Diehard", Fact::kSettles, 129, 0, 0, 0, 128},
      {"Pulsar", Fact::kPeriodic, 6},
  };
  for (const FactRow& row : wrong) {
    testing::TestPartResultArray failures;
    {
      testing::ScopedFakeTestPartResultReporter reporter(
          testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
      CheckFact(row);
    }
    EXPECT_GT(failures.size(), 0) << row.name;
  }
}

}  // namespace
