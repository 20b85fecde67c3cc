#include <gtest/gtest.h>

#include "config/logic/anchor_colour.h"

TEST(AnchorColour, ParsesThreeDecimalChannels) {
  struct Case { const char16_t* text; uint32_t colour; };
  for (const Case& c : {Case{u"0,128,0", 0x008000u}, Case{u"0,0,255", 0xFF0000u}, Case{u"128,0,128", 0x800080u},
                        Case{u"255,255,255", 0xFFFFFFu}, Case{u" 1 , 2 ,3 ", 0x030201u}, Case{u"007,0,0", 0x07u}}) {
    uint32_t colour = 0xDEADBEEF;
    EXPECT_TRUE(ParseAnchorColour(c.text, colour)) << std::string(c.text, c.text + 3);
    EXPECT_EQ(colour, c.colour);
  }
}

TEST(AnchorColour, RejectsDamagedValuesAndKeepsTheColour) {
  for (const char16_t* bad : {u"", u"0,128", u"0,128,", u"0,128,0,", u"0,128,0,5", u"256,0,0", u"0,,0",
                              u"-1,0,0", u"a,b,c", u"0;128;0", u"99999999999,0,0", u"1,2,3x"}) {
    uint32_t colour = 0x123456;
    EXPECT_FALSE(ParseAnchorColour(bad, colour));
    EXPECT_EQ(colour, 0x123456u);
  }
}
