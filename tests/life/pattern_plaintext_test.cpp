// The plaintext (.cells) reader: names, comments, rows and their refusals.
#include <string>

#include "tests/life/pattern_test_support.h"

namespace {

TEST(PlaintextReader, ReadsNameCommentsAndRows) {
  const Pattern p = ReadOk(ReadPlaintext, "!Name: Glider\n!Author: Richard K. Guy\n!\n! The smallest spaceship.\r\n"
                                          ".O\n..*\r\nOOO\n");
  EXPECT_EQ(Cells(p), (CellList{{1, 0, 1}, {2, 1, 1}, {0, 2, 1}, {1, 2, 1}, {2, 2, 1}}));
  EXPECT_EQ(p.width, 3);
  EXPECT_EQ(p.height, 3);
  EXPECT_EQ(p.name, "Glider");
  EXPECT_EQ(p.author, "Richard K. Guy");
  EXPECT_EQ(p.comments, (std::vector<std::string>{"", "The smallest spaceship."}));
  EXPECT_EQ(p.rule, "");
}

TEST(PlaintextReader, ShortRowsAndEmptyLinesAreDeadCells) {
  const Pattern p = ReadOk(ReadPlaintext, "O\n\n....O  \n");
  EXPECT_EQ(Cells(p), (CellList{{0, 0, 1}, {4, 2, 1}}));
  EXPECT_EQ(p.width, 5);
  EXPECT_EQ(p.height, 3);
}

TEST(PlaintextReader, RefusesWithLineColumnAndReason) {
  ExpectRefusals(ReadPlaintext, {
      {"", 1, 1, PatternError::kEmpty},
      {"!Name: nothing\n...\n", 1, 1, PatternError::kEmpty},
      {"!Name: x\n.O\n.o\n", 3, 2, PatternError::kUnexpectedCharacter},
      {"O. O\n", 1, 3, PatternError::kUnexpectedCharacter},
      {("O" + std::string(16383, '.') + "O").c_str(), 1, 16385, PatternError::kTooLarge},
  });
}

}  // namespace
