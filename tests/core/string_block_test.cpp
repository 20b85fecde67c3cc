// String-table blocks as the resource compiler lays them out, and blocks that
// a damaged module could hold.
#include <gtest/gtest.h>

#include <vector>

#include "engine/core/byte_order.h"
#include "engine/core/string_block.h"

namespace {
// A block of sixteen entries; entries not given are empty.
std::vector<uint8_t> MakeBlock(const std::vector<std::u16string>& entries) {
  std::vector<uint8_t> out;
  auto put = [&](uint16_t v) { byte_order::AppendLE16(out, v); };
  for (unsigned i = 0; i < kStringsPerBlock; ++i) {
    const std::u16string s = i < entries.size() ? entries[i] : u"";
    put(static_cast<uint16_t>(s.size()));
    for (char16_t c : s) put(static_cast<uint16_t>(c));
  }
  return out;
}
}  // namespace

TEST(StringBlock, IdMapsToBlockAndEntry) {
  struct Case { unsigned id, block, entry; };
  for (const Case& c : {Case{100, 7, 4}, Case{111, 7, 15}, Case{112, 8, 0}, Case{126, 8, 14}, Case{0, 1, 0}}) {
    EXPECT_EQ(StringBlockId(c.id), c.block) << c.id;
    EXPECT_EQ(StringBlockEntry(c.id), c.entry) << c.id;
  }
}

TEST(StringBlock, ReadsEachEntryIncludingNonAscii) {
  const auto block = MakeBlock({u"", u"O&K", u"", u"\u0417\u043e\u043c\u0431\u0438", u"x"});
  std::u16string s;
  ASSERT_TRUE(ReadStringBlockEntry(block.data(), block.size(), 1, s));
  EXPECT_EQ(s, u"O&K");
  ASSERT_TRUE(ReadStringBlockEntry(block.data(), block.size(), 3, s));
  EXPECT_EQ(s, u"\u0417\u043e\u043c\u0431\u0438");
  ASSERT_TRUE(ReadStringBlockEntry(block.data(), block.size(), 4, s));
  EXPECT_EQ(s, u"x");
  ASSERT_TRUE(ReadStringBlockEntry(block.data(), block.size(), 0, s));
  EXPECT_EQ(s, u"");
  ASSERT_TRUE(ReadStringBlockEntry(block.data(), block.size(), 15, s));
  EXPECT_EQ(s, u"");
}

TEST(StringBlock, CopiesAtMost255Units) {
  const std::u16string longText(400, u'a');
  const auto block = MakeBlock({longText});
  std::u16string s;
  ASSERT_TRUE(ReadStringBlockEntry(block.data(), block.size(), 0, s));
  EXPECT_EQ(s.size(), 255u);
  ASSERT_TRUE(ReadStringBlockEntry(block.data(), block.size(), 0, s, 10));
  EXPECT_EQ(s, std::u16string(10, u'a'));
}

TEST(StringBlock, DamagedBlocksFailWithEmptyText) {
  auto block = MakeBlock({u"abc", u"def"});
  std::u16string s = u"stale";
  // A length that runs past the end of the block.
  auto overlong = block;
  overlong[2 + 6] = 0xFF;
  overlong[2 + 6 + 1] = 0x7F;
  EXPECT_FALSE(ReadStringBlockEntry(overlong.data(), overlong.size(), 1, s));
  EXPECT_TRUE(s.empty());
  // Truncated inside the first string: entry 0 and everything after it fail.
  for (size_t cut : {size_t{0}, size_t{1}, size_t{3}, size_t{7}}) {
    s = u"stale";
    EXPECT_FALSE(ReadStringBlockEntry(block.data(), cut, 0, s)) << cut;
    EXPECT_TRUE(s.empty());
  }
  // Truncated after entry 1: entry 1 still reads, entry 2 does not.
  const size_t afterSecond = 2 + 6 + 2 + 6;
  ASSERT_TRUE(ReadStringBlockEntry(block.data(), afterSecond, 1, s));
  EXPECT_EQ(s, u"def");
  EXPECT_FALSE(ReadStringBlockEntry(block.data(), afterSecond, 2, s));
  EXPECT_FALSE(ReadStringBlockEntry(block.data(), block.size(), 16, s));
  EXPECT_FALSE(ReadStringBlockEntry(nullptr, 0, 0, s));
}
