#include "config/logic/picker_logic.h"

#include <gtest/gtest.h>

namespace {
struct NavCase {
  int32_t from;
  PickerKey key;
  int32_t expected;
};

class PickerNavigation : public ::testing::TestWithParam<NavCase> {};

TEST_P(PickerNavigation, MovesAsTheKeysSay) {
  const NavCase& c = GetParam();
  EXPECT_EQ(NavigatePicker(c.from, c.key, 40, 8), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    FortyCells, PickerNavigation,
    ::testing::Values(NavCase{0, PickerKey::Left, 39}, NavCase{5, PickerKey::Left, 4},
                      NavCase{-1, PickerKey::Left, 39}, NavCase{PICKER_CUSTOM, PickerKey::Left, 39},
                      NavCase{39, PickerKey::Right, 0}, NavCase{-1, PickerKey::Right, 0},
                      NavCase{7, PickerKey::Right, 8}, NavCase{35, PickerKey::Down, 35},
                      NavCase{31, PickerKey::Down, 39}, NavCase{-1, PickerKey::Down, 0},
                      NavCase{PICKER_DEFAULT, PickerKey::Down, 0}, NavCase{3, PickerKey::Up, 3},
                      NavCase{12, PickerKey::Up, 4}, NavCase{-1, PickerKey::Up, 39},
                      NavCase{17, PickerKey::Home, 0}, NavCase{17, PickerKey::End, 39},
                      NavCase{400, PickerKey::Right, 0}));

TEST(PickerNavigationBounds, NeverLeavesTheCellsWhateverTheCount) {
  for (int32_t count : {0, 1, 3, 8, 9, 40}) {
    for (int32_t from : {-5, -1, 0, 1, 7, 8, 39, 40, 1001, 1002}) {
      for (PickerKey key : {PickerKey::Left, PickerKey::Right, PickerKey::Up, PickerKey::Down, PickerKey::Home,
                            PickerKey::End}) {
        int32_t next = NavigatePicker(from, key, count, 8);
        if (count == 0) {
          EXPECT_EQ(next, -1);
        } else {
          EXPECT_GE(next, 0);
          EXPECT_LT(next, count) << "count " << count << " from " << from;
        }
      }
    }
  }
}

TEST(PickerItemForColour, SpecialValuesCellsAndCustom) {
  EXPECT_EQ(PickerItemForColour(CLR_NONE, kPickerPalette, kPickerColourCount), -1);
  EXPECT_EQ(PickerItemForColour(CLR_DEFAULT, kPickerPalette, kPickerColourCount), PICKER_DEFAULT);
  EXPECT_EQ(PickerItemForColour(0x000000, kPickerPalette, kPickerColourCount), 0);
  EXPECT_EQ(PickerItemForColour(0xFFFFFF, kPickerPalette, kPickerColourCount), 39);
  EXPECT_EQ(PickerItemForColour(0xCCFFCC, kPickerPalette, kPickerColourCount), 35);
  EXPECT_EQ(PickerItemForColour(0x4C0000, kPickerPalette, kPickerColourCount), PICKER_CUSTOM);
}

TEST(PickerPalette, RowsAreInTheirOrder) {
  EXPECT_EQ(kPickerPalette[1], 0x002999u);
  EXPECT_EQ(kPickerPalette[13], 0xFF0000u);
  EXPECT_EQ(kPickerPalette[20], 0xCCCC29u);
  EXPECT_EQ(kPickerPalette[31], 0xC0C0C0u);
  EXPECT_EQ(kPickerPalette[32], 0xCC99FFu);
}

struct SplitCase {
  const wchar_t* text;
  const wchar_t* defaultText;
  const wchar_t* customText;
};

class PickerTexts : public ::testing::TestWithParam<SplitCase> {};

TEST_P(PickerTexts, SplitAtLineFeeds) {
  std::wstring d = L"stale", c = L"stale";
  SplitPickerTexts(GetParam().text, d, c);
  EXPECT_EQ(d, GetParam().defaultText);
  EXPECT_EQ(c, GetParam().customText);
}

INSTANTIATE_TEST_SUITE_P(ButtonTexts, PickerTexts,
                         ::testing::Values(SplitCase{L"xxx\nDefalt\nSelect custom...\n", L"Defalt", L"Select custom..."},
                                           SplitCase{L"Colour", L"", L""}, SplitCase{L"", L"", L""},
                                           SplitCase{L"a\nOnly default", L"Only default", L""},
                                           SplitCase{L"a\n\nOnly custom", L"", L"Only custom"},
                                           SplitCase{L"a\nb\nc\nd\ne", L"b", L"c"}));

TEST(PickerTint, MixesWindowAndHighlightPerChannel) {
  // White window, classic blue highlight 0x6A240A: (255*207 + c*48) >> 8.
  uint32_t tint = PickerTint(0xFFFFFF, 0x6A240A);
  EXPECT_EQ(tint & 0xFF, (255u * 207 + 0x0Au * 48) >> 8);
  EXPECT_EQ((tint >> 8) & 0xFF, (255u * 207 + 0x24u * 48) >> 8);
  EXPECT_EQ((tint >> 16) & 0xFF, (255u * 207 + 0x6Au * 48) >> 8);
  EXPECT_EQ(tint >> 24, 0u);
}

struct PlaceCase {
  ScreenPoint preferred;
  int32_t aboveBottom;
  ScreenPoint expected;
};

class PopupPlacement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PopupPlacement, StaysInsideTheWorkArea) {
  const ScreenRect work{0, 0, 1280, 1000};
  const PlaceCase& c = GetParam();
  ScreenPoint p = PlacePopup(150, 120, c.preferred, c.aboveBottom, work);
  EXPECT_EQ(p.x, c.expected.x);
  EXPECT_EQ(p.y, c.expected.y);
}

INSTANTIATE_TEST_SUITE_P(
    Corners, PopupPlacement,
    ::testing::Values(PlaceCase{{100, 200}, 180, {100, 200}},     // fits
                      PlaceCase{{1200, 200}, 180, {1130, 200}},   // moved left
                      PlaceCase{{-40, 200}, 180, {0, 200}},       // moved right
                      PlaceCase{{100, 900}, 870, {100, 750}},     // above the anchor
                      PlaceCase{{100, 990}, 60, {100, 0}}));      // no room above either
}  // namespace
