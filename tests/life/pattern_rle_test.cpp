// The RLE reader: each part of the grammar, each refusal with where it
// points, and the limits refusing before they allocate.
#include <string>

#include "tests/life/pattern_test_support.h"

namespace {

const CellList kGlider = {{1, 0, 1}, {2, 1, 1}, {0, 2, 1}, {1, 2, 1}, {2, 2, 1}};

TEST(RleReader, ReadsTheCellsAndWhatTheFileSaysOfThem) {
  const Pattern p = ReadOk(ReadRle,
                           "#N Glider\n#O Richard K. Guy\n#C The smallest spaceship.\n#c  www.conwaylife.com \n"
                           "#P -1 -1\n#R -1 -1\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n");
  EXPECT_EQ(Cells(p), kGlider);
  EXPECT_EQ(p.width, 3);
  EXPECT_EQ(p.height, 3);
  EXPECT_EQ(p.name, "Glider");
  EXPECT_EQ(p.author, "Richard K. Guy");
  EXPECT_EQ(p.comments, (std::vector<std::string>{"The smallest spaceship.", "www.conwaylife.com"}));
  EXPECT_EQ(p.rule, "B3/S23");
  EXPECT_FALSE(p.headerSizeDisagrees);
}

TEST(RleReader, TheHeaderTakesAnySpacingAndTheRuleIsOptional) {
  for (const char* text : {"x=3,y=3\nbo$2bo$3o!", "  x   =3 ,y=  3  \r\nbo$2bo$3o!", "X = 3, Y = 3\nbo$2bo$3o!"}) {
    const Pattern p = ReadOk(ReadRle, text);
    EXPECT_EQ(Cells(p), kGlider) << text;
    EXPECT_EQ(p.rule, "") << text;
  }
  EXPECT_EQ(ReadOk(ReadRle, "x=3,y=3,rule=23/3\t\r\nbo$2bo$3o!").rule, "23/3");
}

TEST(RleReader, TheRuleLineCountsAndTheHeaderRuleWins) {
  EXPECT_EQ(ReadOk(ReadRle, "#r 23/3\nx = 1, y = 1\no!").rule, "23/3");
  EXPECT_EQ(ReadOk(ReadRle, "#r 23/3\nx = 1, y = 1, rule = B36/S23\no!").rule, "B36/S23");
}

TEST(RleReader, ACountBeforeTheRowEndSkipsRows) {
  EXPECT_EQ(Cells(ReadOk(ReadRle, "x = 2, y = 4\no3$bo!")), (CellList{{0, 0, 1}, {1, 3, 1}}));
}

TEST(RleReader, TheEndMarkEndsTheRuns) {
  EXPECT_EQ(Cells(ReadOk(ReadRle, "x = 1, y = 1\no!3o$zz!\n#C after")), (CellList{{0, 0, 1}}));
  // and a file cut short of it keeps what it has
  EXPECT_EQ(Cells(ReadOk(ReadRle, "x = 2, y = 1\n2o")), (CellList{{0, 0, 1}, {1, 0, 1}}));
}

TEST(RleReader, BlanksAndLineBreaksMayStandBetweenTokensAndInsideARun) {
  EXPECT_EQ(Cells(ReadOk(ReadRle, "x = 3, y = 3\n b o $\n2 b\r\no\t$3\no\n!")), kGlider);
}

TEST(RleReader, LinesMayBeOfAnyLength) {
  std::string runs;
  for (int i = 0; i < 5000; ++i) runs += "bo";
  const Pattern p = ReadOk(ReadRle, "x = 10000, y = 1\n" + runs + "!");
  EXPECT_EQ(p.cells.size(), 5000u);
  EXPECT_EQ(p.width, 9999);
  EXPECT_FALSE(p.headerSizeDisagrees);
}

TEST(RleReader, MultiStateLettersReadAsStates) {
  EXPECT_EQ(Cells(ReadOk(ReadRle, "x = 9, y = 1, rule = /2/3\n.AB.XpApXqAyO!")),
            (CellList{{0, 0, 1}, {1, 0, 2}, {3, 0, 24}, {4, 0, 25}, {5, 0, 48}, {6, 0, 49}, {7, 0, 255}}));
  // the two-state letters mix with them
  EXPECT_EQ(Cells(ReadOk(ReadRle, "x = 3, y = 1\no.2A!")), (CellList{{0, 0, 1}, {2, 0, 1}, {3, 0, 1}}));
}

TEST(RleReader, ARunsExtentOtherThanTheHeadersIsTrustedAndFlagged) {
  const Pattern wider = ReadOk(ReadRle, "x = 1, y = 1\n3o$o!");
  EXPECT_EQ(wider.width, 3);
  EXPECT_EQ(wider.height, 2);
  EXPECT_TRUE(wider.headerSizeDisagrees);
  EXPECT_TRUE(ReadOk(ReadRle, "x = 5, y = 5\no!").headerSizeDisagrees);
  // Leading dead cells are part of the header's box, then cut by the normalising.
  const Pattern shifted = ReadOk(ReadRle, "x = 3, y = 2\n$2bo!");
  EXPECT_FALSE(shifted.headerSizeDisagrees);
  EXPECT_EQ(Cells(shifted), (CellList{{0, 0, 1}}));
  EXPECT_EQ(shifted.width, 1);
}

TEST(RleReader, RefusesWithLineColumnAndReasonAndLeavesThePatternAlone) {
  ExpectRefusals(ReadRle, {
      {"", 1, 1, PatternError::kEmpty},
      {"#N only a name\n\n", 1, 1, PatternError::kEmpty},
      {"x = 0, y = 0\n!", 1, 1, PatternError::kEmpty},
      {"x = 2, y = 1\n2b!", 1, 1, PatternError::kEmpty},
      {"#C\nbo$2bo$3o!", 2, 1, PatternError::kBadHeader},
      {"y = 1, x = 1\no!", 1, 1, PatternError::kBadHeader},
      {"x = 1 y = 1\no!", 1, 7, PatternError::kBadHeader},
      {"x = , y = 1\no!", 1, 5, PatternError::kBadHeader},
      {"x = -1, y = 1\no!", 1, 5, PatternError::kBadHeader},
      {"x = 1, y = 1, rule =  \no!", 1, 21, PatternError::kBadHeader},
      {"x = 1, y = 1, size = 3\no!", 1, 15, PatternError::kBadHeader},
      {"x = 1, y = 20000\no!", 1, 12, PatternError::kTooLarge},
      {"x = 1, y = 1\no\n 2z!", 3, 3, PatternError::kUnexpectedCharacter},
      {"x = 1, y = 1\n2 3o!", 2, 3, PatternError::kUnexpectedCharacter},
      {"x = 1, y = 1\n0o!", 2, 1, PatternError::kBadNumber},
      {"x = 1, y = 1\nb1000000001b!", 2, 2, PatternError::kBadNumber},
      {"x = 1, y = 1\n2pZ!", 2, 2, PatternError::kBadState},
      {"x = 1, y = 1\nyP!", 2, 1, PatternError::kBadState},
      {"x = 1, y = 1\no$p", 2, 3, PatternError::kBadState},
      {"x = 1, y = 1\no16383bo!", 2, 8, PatternError::kTooLarge},
      {"x = 1, y = 1\no16384$o!", 2, 8, PatternError::kTooLarge},
      {"x = 1, y = 1\n$$\n999999999o!", 3, 1, PatternError::kTooLarge},
  });
}

TEST(RleReader, LimitsRefuseBeforeAllocating) {
  struct Case {
    std::string text;
    PatternError reason;
  };
  std::string manyCells = "x = 16384, y = 977\n";
  for (int row = 0; row < 977; ++row) manyCells += "16384o$";  // 16 007 168 cells
  const Case cases[] = {
      {"x = 1, y = 1\n999999999o!", PatternError::kTooLarge},
      {"x = 20000, y = 1\no!", PatternError::kTooLarge},
      {"x = 1, y = 1\n" + std::string(17u << 20, 'b') + "o!", PatternError::kInputTooLarge},
      {manyCells, PatternError::kTooManyCells},
  };
  for (const Case& c : cases) {
    Pattern pattern;
    PatternReadError error;
    ResetLargestAllocation();
    EXPECT_FALSE(ReadRle(c.text, pattern, error));
    EXPECT_EQ(static_cast<int>(error.reason), static_cast<int>(c.reason));
    EXPECT_LT(LargestAllocation(), 4096u) << c.text.substr(0, 40);
  }
  // 16384 rows of one cell each pass: the box may reach the limit itself.
  std::string tall = "x = 1, y = 16384\n";
  for (int row = 0; row < 16384; ++row) tall += "o$";
  EXPECT_EQ(ReadOk(ReadRle, tall).height, kMaxPatternSide);
}

}  // namespace
