#include <gtest/gtest.h>

#include "config/logic/pattern_choice.h"

TEST(PatternChoice, PastedFileIsNamedByItsText) {
  const std::string glider = PastedPatternFileName("x = 3, y = 3\nbo$2bo$3o!", "rle");
  EXPECT_EQ(glider, PastedPatternFileName("x = 3, y = 3\nbo$2bo$3o!", "rle"));
  EXPECT_NE(glider, PastedPatternFileName("x = 3, y = 3\nbo$2bo$3o!\n", "rle"));
  // The empty text hashes to the FNV-1a offset basis.
  EXPECT_EQ(PastedPatternFileName("", "cells"), "pasted-cbf29ce484222325.cells");
  EXPECT_EQ(PastedPatternFileName("a", "rle"), "pasted-af63dc4c8601ec8c.rle");
}

TEST(PatternChoice, FitIsJudgedInWholeCellsOfTheScreen) {
  const ScreenCells screen = CellsOnScreen(1280, 1024, 10);
  EXPECT_EQ(screen.columns, 128);
  EXPECT_EQ(screen.rows, 102);
  EXPECT_TRUE(PatternFitsScreen(128, 102, screen));
  EXPECT_FALSE(PatternFitsScreen(129, 1, screen));
  EXPECT_FALSE(PatternFitsScreen(1, 103, screen));
  EXPECT_EQ(CellsOnScreen(1280, 1024, 0).columns, 0);
}
