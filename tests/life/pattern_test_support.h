// Shared by the pattern reader tests: reading that must succeed, the cells as
// (x, y, state) triples to compare, and the largest single allocation made
// while a reader ran (pattern_allocations.cpp replaces operator new in the
// test program to see it).
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "life/pattern/pattern_reader.h"

using CellList = std::vector<std::tuple<int, int, int>>;

inline CellList Cells(const Pattern& pattern) {
  CellList cells;
  for (const PatternCell& cell : pattern.cells) cells.emplace_back(cell.x, cell.y, cell.state);
  return cells;
}

using PatternReadFn = bool (*)(std::string_view, Pattern&, PatternReadError&);

inline Pattern ReadOk(PatternReadFn read, std::string_view text) {
  Pattern pattern;
  PatternReadError error;
  EXPECT_TRUE(read(text, pattern, error)) << text << "\nreason " << static_cast<int>(error.reason) << " at "
                                          << error.line << ":" << error.column;
  return pattern;
}

struct RefusalCase {
  const char* text;
  size_t line;
  size_t column;
  PatternError reason;
};

// A refusal says where and why and leaves the pattern as it was.
inline void ExpectRefusals(PatternReadFn read, const std::vector<RefusalCase>& cases) {
  for (const RefusalCase& c : cases) {
    Pattern pattern;
    pattern.name = "untouched";
    pattern.cells.push_back(PatternCell{7, 7, 3});
    PatternReadError error;
    EXPECT_FALSE(read(c.text, pattern, error)) << c.text;
    EXPECT_EQ(static_cast<int>(error.reason), static_cast<int>(c.reason)) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text;
    EXPECT_EQ(error.column, c.column) << c.text;
    EXPECT_EQ(pattern.name, "untouched") << c.text;
    EXPECT_EQ(Cells(pattern), (CellList{{7, 7, 3}})) << c.text;
  }
}

// The largest single allocation since the last reset, in bytes.
void ResetLargestAllocation();
size_t LargestAllocation();
