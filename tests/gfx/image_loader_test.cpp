// LoadImage: the log line it builds, detection order and the loader's edge
// cases, through real files on disk.
#include <gtest/gtest.h>

#include <string>

#include "engine/image/image.h"
#include "tests/gfx/gfx_test_util.h"
#include "tests/support/log_capture.h"

using namespace gfx_test;

namespace {

Bytes GreyTga(int width, int height) {
  Bytes b = {0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  PutLE16(b, width);
  PutLE16(b, height);
  b.push_back(8);
  b.push_back(0);
  for (int i = 0; i < width * height; ++i) b.push_back(static_cast<uint8_t>(i));
  return b;
}

TEST(LoadImage, SuccessLineNamesPathAndFormat) {
  TempFile file("vivarn_load_ok.tga", GreyTga(4, 2));
  LogCapture capture;
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(LoadImage(file.path.c_str(), image));
  EXPECT_EQ(image->RefCount(), 1);
  EXPECT_EQ(capture.Text(), "<i> Loading image from " + file.path + "(TGA)...OK\n");
}

TEST(LoadImage, NonPowerOfTwoWarnsAndKeepsItsSize) {
  TempFile file("vivarn_load_100x60.tga", GreyTga(100, 60));
  LogCapture capture;
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(LoadImage(file.path.c_str(), image));
  EXPECT_EQ(image->width, 100);
  EXPECT_EQ(image->height, 60);
  EXPECT_EQ(capture.Text(), "<i> Loading image from " + file.path +
                                "(TGA)<~> Image size is non-power-of-2 (100x60)\n...OK\n");
}

TEST(LoadImage, MissingFile) {
  LogCapture capture;
  CRefCountPtrT<Image> image;
  EXPECT_FALSE(LoadImage("/no/such/file.png", image));
  EXPECT_FALSE(image);
  EXPECT_EQ(capture.Text(), "<i> Loading image from /no/such/file.png not found!\n");
}

TEST(LoadImage, UnknownTenByteFileGetsBothEndings) {
  TempFile file("vivarn_load_unknown.bin", Bytes(10, 'q'));
  LogCapture capture;
  CRefCountPtrT<Image> image;
  EXPECT_FALSE(LoadImage(file.path.c_str(), image));
  EXPECT_EQ(capture.Text(), "<i> Loading image from " + file.path + "(Unknown) format unknown!\n cannot read!\n");
}

TEST(LoadImage, BmpFileHeaderAloneIsTruncatedAndLeavesNoImage) {
  TempFile file("vivarn_load_bm.bmp", Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0});
  LogCapture capture;
  CRefCountPtrT<Image> image;
  EXPECT_FALSE(LoadImage(file.path.c_str(), image));
  EXPECT_FALSE(image);
  EXPECT_EQ(capture.Text(), "<i> Loading image from " + file.path + "(BMP) cannot read!\n");
}

TEST(LoadImage, VerbatimSgiIsNamedAndRefused) {
  Bytes sgi = {0x01, 0xDA, 0, 1, 0, 3, 0, 4, 0, 4, 0, 1};
  sgi.resize(512 + 16, 0);
  TempFile file("vivarn_load_verbatim.rgb", sgi);
  LogCapture capture;
  CRefCountPtrT<Image> image;
  EXPECT_FALSE(LoadImage(file.path.c_str(), image));
  EXPECT_EQ(capture.Text(), "<i> Loading image from " + file.path + "(SGI RGB) cannot read!\n");
}

TEST(DetectImageFormat, ProbeOrderAndShortStreams) {
  Bytes sgiLooksLikeTga = GreyTga(16, 32);
  sgiLooksLikeTga[0] = 0x01;
  sgiLooksLikeTga[1] = 0xDA;
  sgiLooksLikeTga.resize(512);
  struct Case {
    const char* what;
    Bytes bytes;
    int32_t expected;
  };
  const Case cases[] = {
      {"SGI before TGA", sgiLooksLikeTga, kImageSGI},
      {"SGI magic in a short file", Bytes(sgiLooksLikeTga.begin(), sgiLooksLikeTga.begin() + 100), kImageTGA},
      {"TGA", GreyTga(2, 2), kImageTGA},
      {"PNG", Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, kImagePNG},
      {"JPEG", Bytes{0xFF, 0xD8}, kImageJPG},
      {"BMP", Bytes{'B', 'M'}, kImageBMP},
      {"empty", Bytes{}, kImageUnknown},
      {"one byte", Bytes{'B'}, kImageUnknown},
  };
  for (const auto& c : cases) {
    auto file = MemoryStream(c.bytes);
    EXPECT_EQ(DetectImageFormat(*file), c.expected) << c.what;
    EXPECT_EQ(file->Tell(), 0) << c.what;  // rewound after probing
  }
}

TEST(Image, AllocateRefusesSizesBeyondTheLimitAndKeepsNoBuffer) {
  LogCapture capture;
  CRefCountPtrT<Image> image;
  image.Adopt(new Image());
  EXPECT_TRUE(image->Allocate(4, 4, 3));
  EXPECT_EQ(image->dataSize, 48);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(image->data) % 16, 0u);
  EXPECT_FALSE(image->Allocate(kMaxImageSide + 1, 1, 1));
  EXPECT_EQ(image->data, nullptr);
  EXPECT_EQ(image->dataSize, 0);
  EXPECT_FALSE(image->Allocate(4, 4, 5));
  EXPECT_TRUE(image->Allocate(kMaxImageSide, 1, 4));
  EXPECT_EQ(image->dataSize, kMaxImageSide * 4);
}

}  // namespace
