// The in-memory extended template, decoded again by the test reader.
#include <gtest/gtest.h>

#include "config/logic/dialog_template_builder.h"
#include "tests/support/dialog_template_reader.h"

using vivarn_test::ReadDialogTemplateEx;
using vivarn_test::TemplateInfo;

namespace {
constexpr uint32_t kSetFont = 0x40;
}

TEST(DialogTemplateBuilder, HeaderAndFontRoundTrip) {
  DialogFont font;
  font.pointSize = 9;
  font.weight = 700;
  font.italic = true;
  font.charset = 204;
  font.face = u"Tahoma";
  DialogTemplateBuilder b(kSetFont | 0x80000000u, 0x10, DialogRect{3, 4, 186, 59}, u"Enter palette name", font);
  TemplateInfo info;
  ASSERT_TRUE(ReadDialogTemplateEx(b.Bytes(), b.Size(), info));
  EXPECT_EQ(info.style, kSetFont | 0x80000000u);
  EXPECT_EQ(info.exStyle, 0x10u);
  EXPECT_EQ(info.x, 3);
  EXPECT_EQ(info.y, 4);
  EXPECT_EQ(info.cx, 186);
  EXPECT_EQ(info.cy, 59);
  EXPECT_EQ(info.title, u"Enter palette name");
  EXPECT_EQ(info.pointSize, 9);
  EXPECT_EQ(info.weight, 700);
  EXPECT_EQ(info.italic, 1);
  EXPECT_EQ(info.charset, 204);
  EXPECT_EQ(info.face, u"Tahoma");
  EXPECT_TRUE(info.items.empty());
}

TEST(DialogTemplateBuilder, ItemsStartOn4ByteBoundariesAndRoundTrip) {
  // Odd-length texts force padding before each following item.
  DialogTemplateBuilder b(kSetFont, 0, DialogRect{0, 0, 100, 50}, u"T", DialogFont{});
  struct Item { DialogClass cls; uint32_t id; const char16_t* text; const char16_t* name; };
  const Item items[] = {
      {DialogClass::Static, 0xFFFFFFFFu, u"Palette name:", u"static"},
      {DialogClass::Edit, 1048, u"", u"edit"},
      {DialogClass::Button, 1, u"O&K", u"button"},
      {DialogClass::Button, 2, u"&Cancel", u"button"},
      {DialogClass::ComboBox, 7, u"ab", u"combobox"},
  };
  int16_t y = 0;
  for (const Item& i : items) b.AddItem(i.cls, i.id, 0x50000000u | i.id, i.id, DialogRect{1, y++, 20, 8}, i.text);
  EXPECT_EQ(b.ItemCount(), 5);
  TemplateInfo info;
  ASSERT_TRUE(ReadDialogTemplateEx(b.Bytes(), b.Size(), info));
  ASSERT_EQ(info.items.size(), 5u);
  for (size_t k = 0; k < 5; ++k) {
    EXPECT_EQ(info.items[k].id, items[k].id);
    EXPECT_EQ(info.items[k].cls, items[k].name);
    EXPECT_EQ(info.items[k].text, items[k].text);
    EXPECT_EQ(info.items[k].style, 0x50000000u | items[k].id);
    EXPECT_EQ(info.items[k].y, static_cast<int16_t>(k));
  }
}

TEST(DialogTemplateBuilder, CustomClassItemIsNamed) {
  DialogTemplateBuilder b(kSetFont, 0, DialogRect{}, u"T", DialogFont{});
  b.AddItem(DialogClass::Static, 1, 0, 0, DialogRect{}, u"x");
  b.AddItem(u"WTLGradientCtrl", 1043, 0x50000000u, 0, DialogRect{7, 7, 253, 73}, u"");
  EXPECT_EQ(b.ItemCount(), 2);
  TemplateInfo info;
  ASSERT_TRUE(ReadDialogTemplateEx(b.Bytes(), b.Size(), info));
  ASSERT_EQ(info.items.size(), 2u);
  EXPECT_EQ(info.items[1].cls, u"wtlgradientctrl");
  EXPECT_EQ(info.items[1].id, 1043u);
  EXPECT_EQ(info.items[1].cx, 253);
  EXPECT_EQ(info.items[1].text, u"");
}

TEST(DialogTemplateBuilder, GrowsInWholeSteps) {
  DialogTemplateBuilder b(kSetFont, 0, DialogRect{}, u"", DialogFont{});
  EXPECT_EQ(b.Capacity(), DialogTemplateBuilder::kGrowStep);
  const std::u16string longText(700, u'x');
  b.AddItem(DialogClass::Static, 1, 0, 0, DialogRect{}, longText);
  EXPECT_GT(b.Size(), DialogTemplateBuilder::kGrowStep);
  EXPECT_EQ(b.Capacity() % DialogTemplateBuilder::kGrowStep, 0u);
  EXPECT_GE(b.Capacity(), b.Size());
  TemplateInfo info;
  ASSERT_TRUE(ReadDialogTemplateEx(b.Bytes(), b.Size(), info));
  ASSERT_EQ(info.items.size(), 1u);
  EXPECT_EQ(info.items[0].text, longText);
}

TEST(DialogTemplateReader, RejectsTruncatedTemplates) {
  DialogTemplateBuilder b(kSetFont, 0, DialogRect{}, u"Title", DialogFont{});
  b.AddItem(DialogClass::Edit, 1048, 0, 0, DialogRect{}, u"abc");
  TemplateInfo info;
  for (size_t n = 0; n < b.Size(); ++n) {
    TemplateInfo partial;
    EXPECT_FALSE(ReadDialogTemplateEx(b.Bytes(), n, partial)) << n;
  }
  EXPECT_TRUE(ReadDialogTemplateEx(b.Bytes(), b.Size(), info));
}
