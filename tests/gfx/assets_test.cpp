// The generated pictures the program embeds: each decodes through the
// engine's own loader and has the layout the program relies on.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/image/image.h"
#include "tests/gfx/gfx_test_util.h"
#include "tests/support/log_capture.h"

using namespace gfx_test;

namespace {

std::string Asset(const char* name) { return std::string(VIVARN_ASSET_DIR) + "/" + name; }

CRefCountPtrT<Image> Load(const char* name) {
  LogCapture quiet;
  CRefCountPtrT<Image> image;
  EXPECT_TRUE(LoadImage(Asset(name).c_str(), image)) << quiet.Text();
  return image;
}

TEST(Assets, ParticleIsWhiteWithAlphaFallingFromTheCentre) {
  auto image = Load("particle.png");
  ASSERT_TRUE(image);
  ASSERT_EQ(image->width, 64);
  ASSERT_EQ(image->height, 64);
  ASSERT_EQ(image->format, image_gl::kRgba);
  for (int i = 0; i < 64 * 64; ++i) {
    ASSERT_EQ(image->data[i * 4], 255);
    ASSERT_EQ(image->data[i * 4 + 1], 255);
    ASSERT_EQ(image->data[i * 4 + 2], 255);
  }
  auto alpha = [&](int x, int y) { return PixelAt(*image, x, y)[3]; };
  EXPECT_NEAR(alpha(32, 32), 254, 2);
  for (auto [x, y] : {std::pair{0, 32}, {63, 32}, {32, 0}, {32, 63}}) EXPECT_NEAR(alpha(x, y), 62, 4);
  for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 63}, {63, 63}}) EXPECT_NEAR(alpha(x, y), 15, 3);
  // Strictly falling along a row from the centre outwards.
  for (int x = 33; x < 64; ++x) EXPECT_LT(alpha(x, 32), alpha(x - 1, 32)) << x;
}

// Total alpha inside one 16 x 16 cell; cell 0 is the top-left of the sheet.
int CellInk(const Image& sheet, int cell) {
  int ink = 0;
  const int left = (cell % 16) * 16, top = (cell / 16) * 16;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ink += PixelAt(sheet, left + x, 255 - (top + y))[3];
  return ink;
}

class GlyphSheets : public ::testing::TestWithParam<const char*> {};

TEST_P(GlyphSheets, PrintableCharactersInOrderFromTheSpace) {
  auto sheet = Load(GetParam());
  ASSERT_TRUE(sheet);
  ASSERT_EQ(sheet->width, 256);
  ASSERT_EQ(sheet->height, 256);
  ASSERT_EQ(sheet->format, image_gl::kRgba);
  for (int i = 0; i < 256 * 256; ++i) ASSERT_EQ(sheet->data[i * 4], 255);  // white everywhere
  // Stored run-length encoded (type 10), well under the raw 256 KB.
  FILE* f = std::fopen(Asset(GetParam()).c_str(), "rb");
  ASSERT_NE(f, nullptr);
  uint8_t head[3] = {};
  std::fread(head, 1, sizeof head, f);
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fclose(f);
  EXPECT_EQ(head[2], 10);
  EXPECT_LT(size, 256 * 256 * 4 / 2);
  EXPECT_EQ(CellInk(*sheet, 0), 0);        // space
  EXPECT_EQ(CellInk(*sheet, 128), 0);      // space of the second set
  for (int c = 33; c < 127; ++c) {
    EXPECT_GT(CellInk(*sheet, c - 32), 0) << static_cast<char>(c);
    EXPECT_GT(CellInk(*sheet, c - 32 + 128), 0) << static_cast<char>(c);
  }
  for (int cell = 95; cell < 128; ++cell) EXPECT_EQ(CellInk(*sheet, cell), 0) << cell;
  // '.' sits low in its cell, '\'' high: the characters are where their codes say.
  auto rowInk = [&](int cell, int rowFromTop) {
    int ink = 0;
    for (int x = 0; x < 16; ++x) ink += PixelAt(*sheet, (cell % 16) * 16 + x, 255 - ((cell / 16) * 16 + rowFromTop))[3];
    return ink;
  };
  EXPECT_EQ(rowInk('.' - 32, 2), 0);
  EXPECT_GT(rowInk('.' - 32, 11), 0);
  EXPECT_GT(rowInk('\'' - 32, 3), 0);
  EXPECT_EQ(rowInk('\'' - 32, 11), 0);
}

INSTANTIATE_TEST_SUITE_P(Both, GlyphSheets, ::testing::Values("chiler_font.tga", "nehe_font.tga"));

TEST(Assets, TheTwoSheetsLookDifferent) {
  auto chiler = Load("chiler_font.tga");
  auto nehe = Load("nehe_font.tga");
  ASSERT_TRUE(chiler && nehe);
  int differing = 0;
  for (int i = 0; i < 256 * 256; ++i) differing += chiler->data[i * 4 + 3] != nehe->data[i * 4 + 3];
  EXPECT_GT(differing, 2000);
}

TEST(Assets, IconHoldsSixteenAndThirtyTwoPixelPictures) {
  FILE* f = std::fopen(Asset("vivarn.ico").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  uint8_t head[6 + 32];
  ASSERT_EQ(std::fread(head, 1, sizeof head, f), sizeof head);
  std::fclose(f);
  EXPECT_EQ(head[2] | head[3] << 8, 1);  // icon
  ASSERT_EQ(head[4] | head[5] << 8, 2);
  EXPECT_EQ(head[6], 16);
  EXPECT_EQ(head[6 + 16], 32);
  EXPECT_EQ(head[6 + 6], 32);        // bits per pixel
  EXPECT_EQ(head[6 + 16 + 6], 32);
}

}  // namespace
