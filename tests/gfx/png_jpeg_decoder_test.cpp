// PNG and JPEG through their libraries: pictures encoded here with libpng and
// libjpeg, decoded and compared pixel by pixel.
#include <gtest/gtest.h>
#include <png.h>

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include "engine/image/image.h"
#include "tests/gfx/gfx_test_util.h"
#include "tests/support/log_capture.h"

using namespace gfx_test;

namespace {

void AppendToBytes(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}
void NoFlush(png_structp) {}

struct PngLayout {
  int width, height, colorType, bitDepth;
  std::vector<png_color> palette;
  Bytes trns;  // palette alpha, or empty
  int interlace = PNG_INTERLACE_NONE;
};

// `rows` holds packed sample bytes as libpng wants them, top row first.
Bytes EncodePng(const PngLayout& layout, const std::vector<Bytes>& rows) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, AppendToBytes, NoFlush);
  png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colorType, layout.interlace,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!layout.palette.empty())
    png_set_PLTE(png, info, layout.palette.data(), static_cast<int>(layout.palette.size()));
  if (!layout.trns.empty())
    png_set_tRNS(png, info, layout.trns.data(), static_cast<int>(layout.trns.size()), nullptr);
  png_write_info(png, info);
  const int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass)
    for (const auto& r : rows) png_write_row(png, r.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

CRefCountPtrT<Image> DecodePng(const Bytes& bytes) {
  auto file = MemoryStream(bytes);
  EXPECT_EQ(DetectImageFormat(*file), kImagePNG);
  CRefCountPtrT<Image> image;
  EXPECT_TRUE(ReadPNG(*file, image));
  return image;
}

TEST(PngDecoder, PaletteWithTransparencyBecomesRgba) {
  PngLayout layout{3, 2, PNG_COLOR_TYPE_PALETTE, 8, {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}}, {255, 0}};
  const Bytes png = EncodePng(layout, {{0, 1, 2}, {2, 2, 0}});
  auto image = DecodePng(png);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->components, 4);
  EXPECT_EQ(image->format, image_gl::kRgba);
  // Bottom row in memory first: it is the second PNG row.
  EXPECT_EQ(PixelAt(*image, 0, 0), (std::vector<int>{70, 80, 90, 255}));  // no tRNS entry: opaque
  EXPECT_EQ(PixelAt(*image, 2, 0), (std::vector<int>{10, 20, 30, 255}));
  EXPECT_EQ(PixelAt(*image, 1, 1), (std::vector<int>{40, 50, 60, 0}));
}

TEST(PngDecoder, PaletteWithoutTransparencyIsRgb) {
  PngLayout layout{2, 1, PNG_COLOR_TYPE_PALETTE, 4, {{1, 2, 3}, {4, 5, 6}}, {}};
  auto image = DecodePng(EncodePng(layout, {{0x10}}));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->format, image_gl::kRgb);
  EXPECT_EQ(PixelAt(*image, 0, 0), (std::vector<int>{4, 5, 6}));
  EXPECT_EQ(PixelAt(*image, 1, 0), (std::vector<int>{1, 2, 3}));
}

TEST(PngDecoder, TwoBitGreyIsExpandedToFullRange) {
  PngLayout layout{4, 1, PNG_COLOR_TYPE_GRAY, 2, {}, {}};
  auto image = DecodePng(EncodePng(layout, {{0x1B}}));  // samples 0, 1, 2, 3
  ASSERT_TRUE(image);
  EXPECT_EQ(image->format, image_gl::kLuminance);
  EXPECT_EQ(std::vector<int>(image->data, image->data + 4), (std::vector<int>{0, 85, 170, 255}));
}

TEST(PngDecoder, SixteenBitRgbAndGreyAlphaAreStrippedToEightBits) {
  PngLayout rgb{1, 2, PNG_COLOR_TYPE_RGB, 16, {}, {}};
  auto image = DecodePng(EncodePng(rgb, {{0x12, 0x34, 0xAB, 0xCD, 0xFF, 0xFF}, {0, 1, 0x80, 0, 0x7F, 0xFF}}));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->format, image_gl::kRgb);
  EXPECT_EQ(PixelAt(*image, 0, 1), (std::vector<int>{0x12, 0xAB, 0xFF}));
  EXPECT_EQ(PixelAt(*image, 0, 0), (std::vector<int>{0, 0x80, 0x7F}));

  PngLayout greyAlpha{2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {}, {}};
  auto ga = DecodePng(EncodePng(greyAlpha, {{9, 99, 200, 1}}));
  ASSERT_TRUE(ga);
  EXPECT_EQ(ga->format, image_gl::kLuminanceAlpha);
  EXPECT_EQ(std::vector<int>(ga->data, ga->data + 4), (std::vector<int>{9, 99, 200, 1}));
}

TEST(PngDecoder, InterlacedDecodesToTheSamePixelsWithoutWarnings) {
  // 11 x 9: wide and high enough for every Adam7 pass, odd so that the
  // passes have ragged ends.
  const int w = 11, h = 9;
  auto value = [](int x, int y, int k) { return (23 * x + 7 * y + 80 * k) % 256; };
  std::vector<Bytes> rows(h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int k = 0; k < 3; ++k) rows[y].push_back(static_cast<uint8_t>(value(x, y, k)));
  PngLayout plain{w, h, PNG_COLOR_TYPE_RGB, 8, {}, {}};
  PngLayout adam7 = plain;
  adam7.interlace = PNG_INTERLACE_ADAM7;
  LogCapture capture;
  auto expected = DecodePng(EncodePng(plain, rows));
  auto interlaced = DecodePng(EncodePng(adam7, rows));
  ASSERT_TRUE(expected && interlaced);
  ASSERT_EQ(interlaced->dataSize, expected->dataSize);
  EXPECT_EQ(Bytes(interlaced->data, interlaced->data + interlaced->dataSize),
            Bytes(expected->data, expected->data + expected->dataSize));
  // Bottom row in memory first: the last PNG row.
  EXPECT_EQ(PixelAt(*interlaced, 10, 0), (std::vector<int>{value(10, 8, 0), value(10, 8, 1), value(10, 8, 2)}));
  EXPECT_EQ(PixelAt(*interlaced, 3, 5), (std::vector<int>{value(3, 3, 0), value(3, 3, 1), value(3, 3, 2)}));
  EXPECT_EQ(capture.Text().find("png_warning"), std::string::npos) << capture.Text();
}

TEST(PngDecoder, CorruptAndTruncatedFilesFailThroughTheErrorHandler) {
  PngLayout layout{8, 8, PNG_COLOR_TYPE_RGB, 8, {}, {}};
  std::vector<Bytes> rows(8, Bytes(24, 0x42));
  const Bytes good = EncodePng(layout, rows);
  Bytes badCrc = good;
  badCrc[20] ^= 0xFF;  // inside IHDR
  for (const Bytes& bytes : {Bytes(good.begin(), good.end() - 30), badCrc, Bytes(good.begin(), good.begin() + 8)}) {
    LogCapture capture;
    auto file = MemoryStream(bytes);
    CRefCountPtrT<Image> image;
    EXPECT_FALSE(ReadPNG(*file, image));
    EXPECT_FALSE(image);
    EXPECT_NE(capture.Text().find("\n2Load png image: png_error:"), std::string::npos) << capture.Text();
    EXPECT_NE(capture.Text().find(" memory \n"), std::string::npos) << capture.Text();
  }
}

TEST(PngDecoder, MoreThanThePixelBudgetIsRefusedBeforeTheRowsAreRead) {
  PngLayout layout{1, 1, PNG_COLOR_TYPE_GRAY, 8, {}, {}};
  Bytes png = EncodePng(layout, {{5}});
  ASSERT_GT(png.size(), 33u);
  // IHDR (after the 8-byte signature and its length and type) claims
  // 16384 x 4097: both sides allowed, one row over the budget.
  const Bytes size = {0, 0, 0x40, 0, 0, 0, 0x10, 0x01};
  std::copy(size.begin(), size.end(), png.begin() + 16);
  const uLong crc = crc32(0, png.data() + 12, 17);
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  LogCapture capture;
  auto file = MemoryStream(png);
  CRefCountPtrT<Image> image;
  EXPECT_FALSE(ReadPNG(*file, image));
  EXPECT_FALSE(image);
  EXPECT_EQ(capture.Text(), "\n2Load png image: png_error:image size or layout refused memory \n");
}

TEST(PngDecoder, ASignatureMismatchIsReportedWithThePath) {
  LogCapture capture;
  auto file = MemoryStream(Bytes(20, 'x'));
  CRefCountPtrT<Image> image;
  EXPECT_FALSE(ReadPNG(*file, image));
  EXPECT_EQ(capture.Text(), "\n2Load png image: png_error: 'memory' invalid png image!\n");
}

Bytes EncodeJpeg(int width, int height, int components, const Bytes& pixels) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + info.next_scanline * width * components);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  Bytes result(out, out + size);
  jpeg_destroy_compress(&info);
  std::free(out);
  return result;
}

// Flat 8 x 8 blocks survive JPEG almost exactly.
uint8_t BlockValue(int x, int y, int k) { return static_cast<uint8_t>(40 + 60 * ((x / 8 + y / 8) % 3) + 30 * k); }

class JpegComponents : public ::testing::TestWithParam<int> {};

TEST_P(JpegComponents, DecodesBottomUpWithinJpegTolerance) {
  const int c = GetParam();
  const int w = 16, h = 24;
  Bytes pixels;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int k = 0; k < c; ++k) pixels.push_back(BlockValue(x, y, k));
  auto file = MemoryStream(EncodeJpeg(w, h, c, pixels));
  ASSERT_EQ(DetectImageFormat(*file), kImageJPG);
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadJPEG(*file, image));
  ASSERT_EQ(image->width, w);
  ASSERT_EQ(image->height, h);
  ASSERT_EQ(image->components, c);
  EXPECT_EQ(image->format, c == 1 ? image_gl::kLuminance : image_gl::kRgb);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int k = 0; k < c; ++k)
        EXPECT_NEAR(PixelAt(*image, x, h - 1 - y)[k], BlockValue(x, y, k), 4) << x << "," << y << "," << k;
}

INSTANTIATE_TEST_SUITE_P(GreyAndColour, JpegComponents, ::testing::Values(1, 3));

TEST(JpegDecoder, MoreThanThePixelBudgetIsRefusedBeforeDecompressing) {
  Bytes jpeg = EncodeJpeg(8, 8, 1, Bytes(64, 90));
  // The frame header: marker, length, precision, then height and width.
  size_t frame = 2;
  while (frame + 9 < jpeg.size() && !(jpeg[frame] == 0xFF && jpeg[frame + 1] == 0xC0)) ++frame;
  ASSERT_LT(frame + 9, jpeg.size());
  const Bytes size = {0x10, 0x01, 0x40, 0};  // 4097 high, 16384 wide
  std::copy(size.begin(), size.end(), jpeg.begin() + frame + 5);
  LogCapture capture;
  auto file = MemoryStream(jpeg);
  CRefCountPtrT<Image> image;
  EXPECT_FALSE(ReadJPEG(*file, image));
  EXPECT_FALSE(image);
  EXPECT_EQ(capture.Text(), "\nLoad jpeg image: image size refused\n");
}

TEST(JpegDecoder, TruncatedDataEndsAtTheSuppliedEndMarkerAndGarbageFails) {
  Bytes pixels(32 * 32 * 3, 128);
  const Bytes good = EncodeJpeg(32, 32, 3, pixels);
  {
    // Cut in the middle of the scan: the decoder is fed an end marker and
    // still returns a whole picture (libjpeg warns through the log).
    LogCapture capture;
    auto file = MemoryStream(Bytes(good.begin(), good.end() - 20));
    CRefCountPtrT<Image> image;
    EXPECT_TRUE(ReadJPEG(*file, image));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->dataSize, 32 * 32 * 3);
  }
  for (const Bytes& bytes : {Bytes{0xFF, 0xD8, 0xFF}, Bytes(good.begin(), good.begin() + 40)}) {
    LogCapture capture;
    auto file = MemoryStream(bytes);
    CRefCountPtrT<Image> image;
    EXPECT_FALSE(ReadJPEG(*file, image));
    EXPECT_FALSE(image);
    EXPECT_NE(capture.Text().find("Load jpeg image: "), std::string::npos);
  }
}

}  // namespace
