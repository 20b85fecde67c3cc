// The Life 1.05 and 1.06 readers: their lines, blocks and pairs, repeated
// cells, and their refusals.
#include <string>

#include "tests/life/pattern_test_support.h"

namespace {

TEST(Life105Reader, ReadsDescriptionRuleAndPlacedBlocks) {
  const Pattern p = ReadOk(ReadLife105, "#Life 1.05\r\n#D A glider\n#D and a blinker\n#N\n#P -1 -1\n.*\n..*\n***\n"
                                        "#P 3 -3\n***\n");
  EXPECT_EQ(Cells(p), (CellList{{4, 0, 1}, {5, 0, 1}, {6, 0, 1}, {1, 2, 1}, {2, 3, 1}, {0, 4, 1}, {1, 4, 1}, {2, 4, 1}}));
  EXPECT_EQ(p.width, 7);
  EXPECT_EQ(p.height, 5);
  EXPECT_EQ(p.comments, (std::vector<std::string>{"A glider", "and a blinker"}));
  EXPECT_EQ(p.rule, "B3/S23");
}

TEST(Life105Reader, KeepsTheRuleAsWrittenAndCountsOverlappingCellsOnce) {
  const Pattern p = ReadOk(ReadLife105, "#Life 1.05\n#R 23/36\n#P 0 0\n**\n#P 1 0\n**\n");
  EXPECT_EQ(p.rule, "23/36");
  EXPECT_EQ(Cells(p), (CellList{{0, 0, 1}, {1, 0, 1}, {2, 0, 1}}));
}

TEST(Life105Reader, RefusesWithLineColumnAndReason) {
  ExpectRefusals(ReadLife105, {
      {"", 1, 1, PatternError::kEmpty},
      {"#Life 1.05\n#D only words\n", 1, 1, PatternError::kEmpty},
      {"\n  #Life 1.06\n", 2, 3, PatternError::kBadHeader},
      {"#Life 1.05\n#R\n", 2, 3, PatternError::kBadHeader},
      {"#Life 1.05\n#P 1\n*\n", 2, 5, PatternError::kBadNumber},
      {"#Life 1.05\n#P 1 x\n*\n", 2, 6, PatternError::kBadNumber},
      {"#Life 1.05\n#P 1 2 3\n*\n", 2, 8, PatternError::kUnexpectedCharacter},
      {"#Life 1.05\n#Q\n", 2, 2, PatternError::kUnexpectedCharacter},
      {"#Life 1.05\n.*O\n", 2, 3, PatternError::kUnexpectedCharacter},
      {"#Life 1.05\n#P 0 0\n*\n#P 16384 0\n*\n", 5, 1, PatternError::kTooLarge},
  });
}

TEST(Life106Reader, ReadsPairsInAnyOrderOnceEach) {
  const Pattern p = ReadOk(ReadLife106, "#Life 1.06\n#D a glider\n1 -2\n 2 -1\n0 0\n1 0\r\n2 0\n2 0\n-0 +0\n");
  EXPECT_EQ(Cells(p), (CellList{{1, 0, 1}, {2, 1, 1}, {0, 2, 1}, {1, 2, 1}, {2, 2, 1}}));
  EXPECT_EQ(p.width, 3);
  EXPECT_EQ(p.height, 3);
  EXPECT_EQ(p.comments, (std::vector<std::string>{"a glider"}));
}

TEST(Life106Reader, RefusesWithLineColumnAndReason) {
  ExpectRefusals(ReadLife106, {
      {"", 1, 1, PatternError::kEmpty},
      {"#Life 1.06\n", 1, 1, PatternError::kEmpty},
      {"1 2\n", 1, 1, PatternError::kBadHeader},
      {"#Life 1.06\n1\n", 2, 2, PatternError::kUnexpectedCharacter},
      {"#Life 1.06\n1 2 3\n", 2, 5, PatternError::kUnexpectedCharacter},
      {"#Life 1.06\n1x 2\n", 2, 2, PatternError::kUnexpectedCharacter},
      {"#Life 1.06\n- 2\n", 2, 1, PatternError::kBadNumber},
      {"#Life 1.06\n1 1234567890123456\n", 2, 3, PatternError::kBadNumber},
      {"#Life 1.06\n#N\n", 2, 1, PatternError::kUnexpectedCharacter},
      {"#Life 1.06\n-9000 0\n 9000 5\n", 3, 2, PatternError::kTooLarge},
  });
}

}  // namespace
