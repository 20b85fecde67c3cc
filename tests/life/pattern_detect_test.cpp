// Telling the formats apart by their content, and reading through the one
// entry that does so.
#include <string>

#include "tests/life/pattern_test_support.h"

namespace {

TEST(PatternDetection, TellsTheFormatFromTheContent) {
  const std::pair<const char*, PatternFormat> cases[] = {
      {"x = 3, y = 3\nbo$2bo$3o!", PatternFormat::kRle},
      {"\n#N Glider\n#C words\n  x=3,y=3\n3o!", PatternFormat::kRle},
      {"!Name: Glider\n.O\n", PatternFormat::kPlaintext},
      {"\r\n.O.\n..O\nOOO\n", PatternFormat::kPlaintext},
      {"\xEF\xBB\xBF#Life 1.05\n*\n", PatternFormat::kLife105},
      {"#Life 1.06\n0 0\n", PatternFormat::kLife106},
      {"", PatternFormat::kUnknown},
      {"#C only a comment\n", PatternFormat::kUnknown},
      {"bo$2bo$3o!", PatternFormat::kUnknown},
      {"xy = 3\n", PatternFormat::kUnknown},
  };
  for (const auto& c : cases) EXPECT_EQ(DetectPatternFormat(c.first), c.second) << c.first;
}

TEST(PatternDetection, ReadPatternUsesTheDetectedReader) {
  EXPECT_EQ(ReadOk(ReadPattern, "x = 2, y = 1\n2o!").cells.size(), 2u);
  EXPECT_EQ(ReadOk(ReadPattern, "OOO\n").cells.size(), 3u);
  EXPECT_EQ(ReadOk(ReadPattern, "#Life 1.05\n****\n").cells.size(), 4u);
  EXPECT_EQ(ReadOk(ReadPattern, "#Life 1.06\n0 0\n0 1\n1 1\n1 0\n0 2\n").cells.size(), 5u);
  ExpectRefusals(ReadPattern, {
      {" \n\t\n", 1, 1, PatternError::kEmpty},
      {"#C words\n\n  3o$!\n", 3, 3, PatternError::kUnknownFormat},
      {"x = 1, y = 1\nq!", 2, 1, PatternError::kBadState},
  });
}

TEST(PatternDetection, EveryReaderRefusesTextOverTheSizeLimit) {
  const std::string big = "#Life 1.06\n" + std::string(kMaxPatternBytes, ' ');
  for (PatternReadFn read : {ReadPattern, ReadRle, ReadPlaintext, ReadLife105, ReadLife106}) {
    Pattern pattern;
    PatternReadError error;
    ResetLargestAllocation();
    EXPECT_FALSE(read(big, pattern, error));
    EXPECT_EQ(static_cast<int>(error.reason), static_cast<int>(PatternError::kInputTooLarge));
    EXPECT_EQ(LargestAllocation(), 0u);
  }
}

}  // namespace
