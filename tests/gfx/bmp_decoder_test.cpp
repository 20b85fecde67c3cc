// BMP: every bit count Windows writes, padded rows, both row orders, RLE8
// and RLE4 with their escapes, and refused files.
#include <gtest/gtest.h>

#include "engine/image/image.h"
#include "tests/gfx/gfx_test_util.h"
#include "tests/support/log_capture.h"

using namespace gfx_test;

namespace {

// 16 palette colours; a 5 x 3 picture of indices (bottom row first), odd
// width so that every bit count needs row padding.
constexpr int kW = 5, kH = 3;
const int kIndex[kH][kW] = {{0, 1, 1, 0, 1}, {1, 0, 0, 1, 0}, {1, 1, 0, 0, 1}};
uint8_t PaletteColour(int i, int channel) { return static_cast<uint8_t>(17 * i + 60 * channel + 3); }

// Indices used at 4 and 8 bits spread over more of the palette.
int IndexFor(int bits, int x, int y) { return bits == 1 ? kIndex[y][x] : (kIndex[y][x] * 7 + x + y) % 16; }

uint8_t TrueColour(int x, int y, int channel) { return static_cast<uint8_t>(30 * x + 80 * y + 50 * channel + 1); }

Bytes FileHeader(uint32_t dataOffset) {
  Bytes b = {'B', 'M'};
  PutLE32(b, 0);
  PutLE32(b, 0);
  PutLE32(b, dataOffset);
  return b;
}

Bytes InfoHeader(int width, int height, int bits, int compression, int colours) {
  Bytes b;
  PutLE32(b, 40);
  PutLE32(b, static_cast<uint32_t>(width));
  PutLE32(b, static_cast<uint32_t>(height));
  PutLE16(b, 1);
  PutLE16(b, bits);
  PutLE32(b, compression);
  for (int i = 0; i < 3; ++i) PutLE32(b, 0);
  PutLE32(b, colours);
  PutLE32(b, 0);
  return b;
}

Bytes Palette(int count) {
  Bytes b;
  for (int i = 0; i < count; ++i) b.insert(b.end(), {PaletteColour(i, 2), PaletteColour(i, 1), PaletteColour(i, 0), 0});
  return b;
}

Bytes WriteBmp(int bits, bool topDown) {
  const int colours = bits <= 8 ? (1 << bits) : 0;
  const Bytes pal = Palette(colours);
  Bytes pixels;
  for (int r = 0; r < kH; ++r) {
    const int y = topDown ? kH - 1 - r : r;
    Bytes row;
    uint32_t acc = 0;
    int accBits = 0;
    for (int x = 0; x < kW; ++x) {
      if (bits <= 8) {
        acc = acc << bits | IndexFor(bits, x, y);
        accBits += bits;
        if (accBits == 8) {
          row.push_back(static_cast<uint8_t>(acc));
          acc = 0;
          accBits = 0;
        }
      } else if (bits == 16) {
        PutLE16(row, (TrueColour(x, y, 0) >> 3) << 10 | (TrueColour(x, y, 1) >> 3) << 5 | TrueColour(x, y, 2) >> 3);
      } else {
        row.insert(row.end(), {TrueColour(x, y, 2), TrueColour(x, y, 1), TrueColour(x, y, 0)});
        if (bits == 32) row.push_back(TrueColour(x, y, 3));
      }
    }
    if (accBits) row.push_back(static_cast<uint8_t>(acc << (8 - accBits)));
    while (row.size() % 4) row.push_back(0xCC);  // padding must be skipped
    pixels.insert(pixels.end(), row.begin(), row.end());
  }
  Bytes b = FileHeader(14 + 40 + static_cast<uint32_t>(pal.size()));
  const Bytes info = InfoHeader(kW, topDown ? -kH : kH, bits, 0, 0);
  b.insert(b.end(), info.begin(), info.end());
  b.insert(b.end(), pal.begin(), pal.end());
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

std::vector<int> ExpectedPixel(int bits, int x, int y) {
  if (bits <= 8) {
    const int i = IndexFor(bits, x, y);
    return {PaletteColour(i, 0), PaletteColour(i, 1), PaletteColour(i, 2)};
  }
  if (bits == 16) return {TrueColour(x, y, 0) & 0xF8, TrueColour(x, y, 1) & 0xF8, TrueColour(x, y, 2) & 0xF8};
  std::vector<int> p = {TrueColour(x, y, 0), TrueColour(x, y, 1), TrueColour(x, y, 2)};
  if (bits == 32) p.push_back(TrueColour(x, y, 3));
  return p;
}

struct BmpCase {
  int bits;
  bool topDown;
};

class BmpBitCounts : public ::testing::TestWithParam<BmpCase> {};

TEST_P(BmpBitCounts, DecodesEveryPixel) {
  const BmpCase c = GetParam();
  auto file = MemoryStream(WriteBmp(c.bits, c.topDown));
  ASSERT_EQ(DetectImageFormat(*file), kImageBMP);
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadBMP(*file, image));
  ASSERT_EQ(image->width, kW);
  ASSERT_EQ(image->height, kH);
  EXPECT_EQ(image->format, c.bits == 32 ? image_gl::kRgba : image_gl::kRgb);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) EXPECT_EQ(PixelAt(*image, x, y), ExpectedPixel(c.bits, x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Windows, BmpBitCounts,
    ::testing::Values(BmpCase{1, false}, BmpCase{4, false}, BmpCase{8, false}, BmpCase{16, false},
                      BmpCase{24, false}, BmpCase{32, false}, BmpCase{24, true}, BmpCase{8, true},
                      BmpCase{1, true}),
    [](const ::testing::TestParamInfo<BmpCase>& info) {
      return std::to_string(info.param.bits) + (info.param.topDown ? "bitTopDown" : "bit");
    });

Bytes RleBitmap(int bits, int width, int height, const Bytes& stream) {
  const int colours = 1 << bits;
  Bytes b = FileHeader(14 + 40 + 4 * colours);
  const Bytes info = InfoHeader(width, height, bits, bits == 8 ? 1 : 2, 0);
  b.insert(b.end(), info.begin(), info.end());
  const Bytes pal = Palette(colours);
  b.insert(b.end(), pal.begin(), pal.end());
  b.insert(b.end(), stream.begin(), stream.end());
  return b;
}

std::vector<int> Colour(int i) { return {PaletteColour(i, 0), PaletteColour(i, 1), PaletteColour(i, 2)}; }
const std::vector<int> kBlack = {0, 0, 0};

TEST(BmpDecoder, Rle8WithEveryEscape) {
  // 6 x 4: row 0: run of 3 x index 2, absolute 3 (5, 6, 7 + pad); row 1:
  // end of line at once; row 2: delta (2, 0), run 2 x 9, run 10 x 4 (cut at
  // the row end); end of line; a delta (0, 1) past the last row ends it.
  const Bytes stream = {3, 2, 0, 3, 5, 6, 7, 0, 0, 0, 0, 0, 0, 2, 2, 0, 2, 9, 10, 4, 0, 0, 0, 2, 0, 1, 0, 1};
  auto file = MemoryStream(RleBitmap(8, 6, 4, stream));
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadBMP(*file, image));
  const std::vector<std::vector<int>> row0 = {Colour(2), Colour(2), Colour(2), Colour(5), Colour(6), Colour(7)};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(*image, x, 0), row0[x]) << x;
  for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(*image, x, 1), kBlack) << x;
  const std::vector<std::vector<int>> row2 = {kBlack, kBlack, Colour(9), Colour(9), Colour(4), Colour(4)};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(*image, x, 2), row2[x]) << x;
  for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(*image, x, 3), kBlack) << x;
}

TEST(BmpDecoder, Rle4WithEveryEscape) {
  // 5 x 2: row 0: run of 3 alternating (1, 2, 1), absolute 3 nibbles (3, 4,
  // 5: cut at the row end) in two bytes; end of line; row 1: absolute 3 (5, 6, 7) in two
  // bytes, no pad; delta (1, 0); run 4 of 8 (one pixel fits); end of bitmap.
  const Bytes stream = {3, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 3, 0x56, 0x70, 0, 2, 1, 0, 4, 0x88, 0, 1};
  auto file = MemoryStream(RleBitmap(4, 5, 2, stream));
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadBMP(*file, image));
  const std::vector<std::vector<int>> row0 = {Colour(1), Colour(2), Colour(1), Colour(3), Colour(4)};
  const std::vector<std::vector<int>> row1 = {Colour(5), Colour(6), Colour(7), kBlack, Colour(8)};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(*image, x, 0), row0[x]) << x;
  for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(*image, x, 1), row1[x]) << x;
}

TEST(BmpDecoder, DeltaPastTheLastRowEndsTheBitmap) {
  const Bytes stream = {2, 1, 0, 2, 0, 200, 5, 3};
  auto file = MemoryStream(RleBitmap(8, 2, 2, stream));
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadBMP(*file, image));
  EXPECT_EQ(PixelAt(*image, 1, 0), Colour(1));
  EXPECT_EQ(PixelAt(*image, 1, 1), kBlack);
}

TEST(BmpDecoder, IndicesBeyondAShortPaletteAreBlack) {
  // 8-bit with two palette colours declared: index 2 and above are black.
  Bytes b = FileHeader(14 + 40 + 8);
  const Bytes info = InfoHeader(4, 1, 8, 0, 2);
  b.insert(b.end(), info.begin(), info.end());
  const Bytes pal = Palette(2);
  b.insert(b.end(), pal.begin(), pal.end());
  b.insert(b.end(), {1, 0, 2, 255});
  auto file = MemoryStream(b);
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadBMP(*file, image));
  EXPECT_EQ(PixelAt(*image, 0, 0), Colour(1));
  EXPECT_EQ(PixelAt(*image, 1, 0), Colour(0));
  EXPECT_EQ(PixelAt(*image, 2, 0), kBlack);
  EXPECT_EQ(PixelAt(*image, 3, 0), kBlack);
}

TEST(BmpDecoder, Os2CoreHeader) {
  Bytes b = FileHeader(14 + 12 + 6);
  PutLE32(b, 12);
  PutLE16(b, 2);
  PutLE16(b, 1);
  PutLE16(b, 1);
  PutLE16(b, 1);
  b.insert(b.end(), {10, 20, 30, 40, 50, 60});  // two 3-byte entries
  b.insert(b.end(), {0x40, 0, 0, 0});            // pixels 0, 1
  auto file = MemoryStream(b);
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadBMP(*file, image));
  EXPECT_EQ(PixelAt(*image, 0, 0), (std::vector<int>{30, 20, 10}));
  EXPECT_EQ(PixelAt(*image, 1, 0), (std::vector<int>{60, 50, 40}));
}

TEST(BmpDecoder, RefusedFiles) {
  const Bytes good = WriteBmp(24, false);
  struct Case {
    const char* what;
    Bytes bytes;
  };
  auto withBits = [&](int bits, int compression) {
    Bytes b = good;
    b[28] = static_cast<uint8_t>(bits);
    b[30] = static_cast<uint8_t>(compression);
    return b;
  };
  Bytes zeroWidth = good;
  zeroWidth[18] = 0;
  Bytes huge = good;
  huge[21] = 0x10;  // width 2^28 + 5
  std::vector<Case> cases = {
      {"file header only", Bytes(good.begin(), good.begin() + 14)},
      {"truncated pixels", Bytes(good.begin(), good.end() - 1)},
      {"2 bits", withBits(2, 0)},
      {"bitfields", withBits(32, 3)},
      {"RLE8 at 24 bits", withBits(24, 1)},
      {"zero width", zeroWidth},
      {"huge", huge},
      {"RLE8 without end", RleBitmap(8, 4, 4, {2, 1, 0, 0})},
      // Both sides allowed, one row more than the total pixel budget.
      {"over the pixel budget", RleBitmap(8, 16384, 4097, {0, 1})},
  };
  for (const auto& c : cases) {
    LogCapture capture;
    auto file = MemoryStream(c.bytes);
    CRefCountPtrT<Image> image;
    EXPECT_FALSE(ReadBMP(*file, image)) << c.what;
    EXPECT_FALSE(image) << c.what;
  }
}

}  // namespace
