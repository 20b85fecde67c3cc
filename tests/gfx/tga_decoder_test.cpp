// TGA: every image type at its depths and both origins, written here and
// checked pixel by pixel; then corrupt and hostile files.
#include <gtest/gtest.h>

#include <string>

#include "engine/image/image.h"
#include "tests/gfx/gfx_test_util.h"
#include "tests/support/log_capture.h"

using namespace gfx_test;

namespace {

// A 5 x 3 picture of palette indices, top row first, with runs for RLE.
constexpr int kW = 5, kH = 3;
const int kIndices[kH][kW] = {{0, 0, 0, 1, 2}, {3, 3, 1, 1, 1}, {2, 0, 1, 3, 3}};
const uint8_t kColours[4][4] = {{255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 0}, {16, 32, 48, 64}};
const uint8_t kGrey[4] = {10, 200, 77, 255};

struct TgaCase {
  const char* name;
  int type;
  int depth;
  int mapBits;  // 0: no colour map
  int descriptor;
};

// The bytes of one pixel as the file stores it.
Bytes FilePixel(const TgaCase& c, int index) {
  const uint8_t* rgba = kColours[index];
  Bytes b;
  if (c.type == 1 || c.type == 9) {
    b.push_back(static_cast<uint8_t>(index));
  } else if (c.type == 3 || c.type == 11) {
    b.push_back(kGrey[index]);
    if (c.depth == 16) b.push_back(rgba[3]);
  } else if (c.depth == 16) {
    PutLE16(b, 0x8000 | (rgba[0] >> 3) << 10 | (rgba[1] >> 3) << 5 | rgba[2] >> 3);
  } else {
    b.insert(b.end(), {rgba[2], rgba[1], rgba[0]});
    if (c.depth == 32) b.push_back(rgba[3]);
  }
  return b;
}

std::vector<int> Expected(const TgaCase& c, int index) {
  const uint8_t* rgba = kColours[index];
  if (c.type == 3 || c.type == 11) {
    if (c.depth == 8) return {kGrey[index]};
    return {kGrey[index], rgba[3]};
  }
  if (c.type == 2 || c.type == 10) {
    if (c.depth == 16) return {rgba[0] & 0xF8, rgba[1] & 0xF8, rgba[2] & 0xF8};
    if (c.depth == 32) return {rgba[0], rgba[1], rgba[2], rgba[3]};
  }
  if (c.mapBits == 16) return {rgba[0] & 0xF8, rgba[1] & 0xF8, rgba[2] & 0xF8};
  return {rgba[0], rgba[1], rgba[2]};
}

// File order of the rows and pixels, from the descriptor's origin bits.
int IndexInFileOrder(const TgaCase& c, int fileRow, int fileColumn) {
  const int row = (c.descriptor & 0x20) ? fileRow : kH - 1 - fileRow;
  const int column = (c.descriptor & 0x10) ? kW - 1 - fileColumn : fileColumn;
  return kIndices[row][column];
}

Bytes EncodeRuns(const std::vector<Bytes>& pixels) {
  Bytes out;
  size_t i = 0;
  while (i < pixels.size()) {
    size_t run = 1;
    while (i + run < pixels.size() && run < 128 && pixels[i + run] == pixels[i]) ++run;
    if (run > 1) {
      out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
      out.insert(out.end(), pixels[i].begin(), pixels[i].end());
      i += run;
      continue;
    }
    size_t raw = 1;
    while (i + raw < pixels.size() && raw < 128 &&
           !(i + raw + 1 < pixels.size() && pixels[i + raw] == pixels[i + raw + 1]))
      ++raw;
    out.push_back(static_cast<uint8_t>(raw - 1));
    for (size_t k = 0; k < raw; ++k) out.insert(out.end(), pixels[i + k].begin(), pixels[i + k].end());
    i += raw;
  }
  return out;
}

Bytes WriteTga(const TgaCase& c, int width = kW, int height = kH) {
  Bytes b;
  const std::string id = "id!";
  b.push_back(static_cast<uint8_t>(id.size()));
  b.push_back(c.mapBits ? 1 : 0);
  b.push_back(static_cast<uint8_t>(c.type));
  PutLE16(b, 0);                  // first map index
  PutLE16(b, c.mapBits ? 4 : 0);  // map length
  b.push_back(static_cast<uint8_t>(c.mapBits));
  PutLE16(b, 0);
  PutLE16(b, 0);
  PutLE16(b, width);
  PutLE16(b, height);
  b.push_back(static_cast<uint8_t>(c.depth));
  b.push_back(static_cast<uint8_t>(c.descriptor));
  b.insert(b.end(), id.begin(), id.end());
  for (int i = 0; i < 4 && c.mapBits; ++i) {
    const uint8_t* rgba = kColours[i];
    if (c.mapBits == 16) {
      PutLE16(b, (rgba[0] >> 3) << 10 | (rgba[1] >> 3) << 5 | rgba[2] >> 3);
    } else {
      b.insert(b.end(), {rgba[2], rgba[1], rgba[0]});
      if (c.mapBits == 32) b.push_back(rgba[3]);
    }
  }
  std::vector<Bytes> pixels;
  for (int r = 0; r < kH; ++r)
    for (int x = 0; x < kW; ++x) pixels.push_back(FilePixel(c, IndexInFileOrder(c, r, x)));
  if (c.type >= 9) {
    const Bytes runs = EncodeRuns(pixels);
    b.insert(b.end(), runs.begin(), runs.end());
  } else {
    for (const auto& p : pixels) b.insert(b.end(), p.begin(), p.end());
  }
  return b;
}

class TgaTypes : public ::testing::TestWithParam<TgaCase> {};

TEST_P(TgaTypes, DecodesEveryPixelBottomUp) {
  const TgaCase& c = GetParam();
  auto file = MemoryStream(WriteTga(c));
  ASSERT_EQ(DetectImageFormat(*file), kImageTGA);
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadTGA(*file, image));
  ASSERT_EQ(image->width, kW);
  ASSERT_EQ(image->height, kH);
  const int components = static_cast<int>(Expected(c, 0).size());
  ASSERT_EQ(image->components, components);
  EXPECT_EQ(image->format, Image::FormatFor(components));
  EXPECT_EQ(image->internalFormat, image->format);
  EXPECT_EQ(image->dataSize, kW * kH * components);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      EXPECT_EQ(PixelAt(*image, x, y), Expected(c, kIndices[kH - 1 - y][x])) << "pixel " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    AllTypes, TgaTypes,
    ::testing::Values(TgaCase{"mapped24", 1, 8, 24, 0}, TgaCase{"mapped16top", 1, 8, 16, 0x20},
                      TgaCase{"mapped32", 1, 8, 32, 0}, TgaCase{"true16", 2, 16, 0, 0},
                      TgaCase{"true24top", 2, 24, 0, 0x20}, TgaCase{"true32", 2, 32, 0, 8},
                      TgaCase{"true32top", 2, 32, 0, 0x28}, TgaCase{"true24mirrored", 2, 24, 0, 0x10},
                      TgaCase{"grey8", 3, 8, 0, 0}, TgaCase{"grey16top", 3, 16, 0, 0x20},
                      TgaCase{"rleMapped24", 9, 8, 24, 0}, TgaCase{"rleMapped24top", 9, 8, 24, 0x20},
                      TgaCase{"rle16", 10, 16, 0, 0}, TgaCase{"rle24top", 10, 24, 0, 0x20},
                      TgaCase{"rle32", 10, 32, 0, 0x08}, TgaCase{"rle32bothFlips", 10, 32, 0, 0x38},
                      TgaCase{"rleGrey8", 11, 8, 0, 0}, TgaCase{"rleGrey16top", 11, 16, 0, 0x20},
                      TgaCase{"true24withUnusedMap", 2, 24, 24, 0}),
    [](const ::testing::TestParamInfo<TgaCase>& info) { return std::string(info.param.name); });

TEST(TgaDecoder, TopLeftOriginPutsTheFirstFileRowLastInMemory) {
  // 64 x 64, 32-bit, descriptor 0x28: row r of the file holds the value r.
  Bytes b = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  PutLE16(b, 64);
  PutLE16(b, 64);
  b.push_back(32);
  b.push_back(0x28);
  for (int r = 0; r < 64; ++r)
    for (int x = 0; x < 64; ++x) b.insert(b.end(), {uint8_t(r), uint8_t(x), uint8_t(r + 1), 200});
  auto file = MemoryStream(b);
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadTGA(*file, image));
  EXPECT_EQ(image->format, image_gl::kRgba);
  EXPECT_EQ(PixelAt(*image, 0, 0), (std::vector<int>{64, 0, 63, 200}));   // last file row
  EXPECT_EQ(PixelAt(*image, 5, 63), (std::vector<int>{1, 5, 0, 200}));    // first file row
}

TEST(TgaDecoder, IndicesBeyondTheMapAreBlack) {
  TgaCase c{"mapped", 1, 8, 24, 0};
  Bytes b = WriteTga(c);
  b.back() = 200;  // last pixel (top right) points past the 4-entry map
  b[b.size() - 2] = 4;
  auto file = MemoryStream(b);
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadTGA(*file, image));
  EXPECT_EQ(PixelAt(*image, kW - 1, kH - 1), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(PixelAt(*image, kW - 2, kH - 1), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(PixelAt(*image, 0, 0), (std::vector<int>{0, 0, 255}));
}

TEST(TgaDecoder, RunsPastTheLastPixelStopThere) {
  // 2 x 2 grey, one run packet of 128 pixels and then garbage.
  Bytes b = {0, 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 8, 0, 0xFF, 77};
  b.insert(b.end(), 300, 0xEE);
  auto file = MemoryStream(b);
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadTGA(*file, image));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(image->data[i], 77);
  EXPECT_EQ(file->Tell(), 20);  // nothing read beyond the packet
}

TEST(TgaDecoder, AMapLengthWithoutAMapReadsNoMap) {
  // Grey picture whose header declares two 24-bit map entries but no map:
  // the pixels start right after the header.
  const Bytes b = {0, 0, 3, 0, 0, 2, 0, 24, 0, 0, 0, 0, 2, 0, 2, 0, 8, 0, 1, 2, 3, 4};
  auto file = MemoryStream(b);
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadTGA(*file, image));
  EXPECT_EQ(std::vector<int>(image->data, image->data + 4), (std::vector<int>{1, 2, 3, 4}));
}

TEST(TgaDecoder, BadFilesFailWithoutAnImage) {
  const Bytes good = WriteTga(TgaCase{"t", 2, 24, 0, 0});
  const Bytes goodRle = WriteTga(TgaCase{"r", 10, 24, 0, 0});
  struct Case {
    const char* what;
    Bytes bytes;
  };
  std::vector<Case> cases = {
      {"truncated pixels", Bytes(good.begin(), good.end() - 1)},
      {"truncated runs", Bytes(goodRle.begin(), goodRle.end() - 2)},
      {"header only", Bytes(good.begin(), good.begin() + 18)},
      {"short header", Bytes(good.begin(), good.begin() + 10)},
  };
  Bytes depth = good;
  depth[16] = 8;  // true colour at 8 bits
  cases.push_back({"unsupported depth", depth});
  Bytes mapped = WriteTga(TgaCase{"m", 1, 8, 24, 0});
  mapped[1] = 0;  // colour-mapped without a map
  cases.push_back({"mapped without map", mapped});
  Bytes huge = good;
  huge[12] = huge[13] = huge[14] = huge[15] = 0xFF;  // 65535 x 65535
  cases.push_back({"huge", huge});
  Bytes hugeRle = goodRle;
  hugeRle[12] = hugeRle[13] = hugeRle[14] = hugeRle[15] = 0xFF;
  cases.push_back({"huge run-length", hugeRle});
  // 16384 x 4097 grey, complete in runs of 128: both sides are allowed, the
  // total is one row over the pixel budget.
  Bytes overBudget = {0, 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0x01, 0x10, 8, 0};
  for (int i = 0; i < 128 * 4097; ++i) overBudget.insert(overBudget.end(), {0xFF, 7});
  cases.push_back({"over the pixel budget", overBudget});
  for (const auto& c : cases) {
    LogCapture capture;
    auto file = MemoryStream(c.bytes);
    CRefCountPtrT<Image> image;
    EXPECT_FALSE(ReadTGA(*file, image)) << c.what;
    EXPECT_FALSE(image) << c.what;
  }
}

}  // namespace
