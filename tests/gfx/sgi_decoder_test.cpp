// SGI RGB: run-length pictures of one to four channels written here, and the
// files the decoder refuses.
#include <gtest/gtest.h>

#include "engine/image/image.h"
#include "tests/gfx/gfx_test_util.h"
#include "tests/support/log_capture.h"

using namespace gfx_test;

namespace {

// Channel k of pixel (x, y), y from the bottom as SGI stores rows.
uint8_t Value(int x, int y, int k) { return static_cast<uint8_t>(x < 3 ? 40 * k + y : 7 * x + y + k); }

// One row: a run of the first three equal values, then a literal packet.
Bytes EncodeRow(int width, int y, int k) {
  Bytes row;
  row.push_back(3);
  row.push_back(Value(0, y, k));
  row.push_back(static_cast<uint8_t>(0x80 | (width - 3)));
  for (int x = 3; x < width; ++x) row.push_back(Value(x, y, k));
  row.push_back(0);
  return row;
}

Bytes WriteSgi(int width, int height, int channels, int storage = 1, int bytesPerChannel = 1) {
  Bytes b;
  PutBE16(b, 474);
  b.push_back(static_cast<uint8_t>(storage));
  b.push_back(static_cast<uint8_t>(bytesPerChannel));
  PutBE16(b, 3);
  PutBE16(b, width);
  PutBE16(b, height);
  PutBE16(b, channels);
  b.resize(512, 0);
  std::vector<Bytes> rows;
  for (int k = 0; k < channels; ++k)
    for (int y = 0; y < height; ++y) rows.push_back(EncodeRow(width, y, k));
  uint32_t offset = 512 + 8 * static_cast<uint32_t>(rows.size());
  for (const auto& r : rows) {
    PutBE32(b, offset);
    offset += static_cast<uint32_t>(r.size());
  }
  for (const auto& r : rows) PutBE32(b, static_cast<uint32_t>(r.size()));
  for (const auto& r : rows) b.insert(b.end(), r.begin(), r.end());
  return b;
}

class SgiChannels : public ::testing::TestWithParam<int> {};

TEST_P(SgiChannels, RunLengthRowsDecodeInterleaved) {
  const int channels = GetParam();
  auto file = MemoryStream(WriteSgi(6, 4, channels));
  ASSERT_EQ(DetectImageFormat(*file), kImageSGI);
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadSGI(*file, image));
  EXPECT_EQ(image->width, 6);
  EXPECT_EQ(image->height, 4);
  EXPECT_EQ(image->components, channels);
  EXPECT_EQ(image->format, Image::FormatFor(channels));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      for (int k = 0; k < channels; ++k)
        EXPECT_EQ(PixelAt(*image, x, y)[k], Value(x, y, k)) << x << "," << y << "," << k;
}

INSTANTIATE_TEST_SUITE_P(OneToFour, SgiChannels, ::testing::Values(1, 2, 3, 4));

TEST(SgiDecoder, RunsLongerThanTheRowAreCut) {
  Bytes b = WriteSgi(4, 1, 1);
  // Replace the row (3-run, literal of 1, end) by one run of 100.
  const size_t rowAt = 512 + 8;
  b.resize(rowAt);
  b.insert(b.end(), {100, 9, 0});
  b[512 + 4 + 3] = 3;  // its length
  auto file = MemoryStream(b);
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadSGI(*file, image));
  for (int x = 0; x < 4; ++x) EXPECT_EQ(image->data[x], 9);
}

// A memory stream that counts the bytes the decoder takes from it.
class CountingFile : public MemoryFile {
 public:
  int32_t ReadRaw(void* buffer, int32_t count) override {
    const int32_t got = MemoryFile::ReadRaw(buffer, count);
    if (got > 0) bytesRead += got;
    return got;
  }
  int32_t GetcRaw() override {
    const int32_t c = MemoryFile::GetcRaw();
    if (c >= 0) ++bytesRead;
    return c;
  }
  int64_t bytesRead = 0;
};

TEST(SgiDecoder, RowsSharingALongRunTableReadItOnce) {
  // 8 x 4096, every row pointing at the same 64 KB of runs: a run of 8
  // (value 33) and then literal packets the row never needs.
  const int width = 8, height = 4096;
  Bytes runs = {8, 33};
  while (runs.size() < 65536) runs.insert(runs.end(), {0x81, 1});
  Bytes b = WriteSgi(1, 1, 1);
  b.resize(512);
  b[7] = width;
  b[8] = height >> 8;
  b[9] = 0;
  const uint32_t start = 512 + 8 * height;
  for (int y = 0; y < height; ++y) PutBE32(b, start);
  for (int y = 0; y < height; ++y) PutBE32(b, static_cast<uint32_t>(runs.size()));
  b.insert(b.end(), runs.begin(), runs.end());

  auto* counting = new CountingFile();
  CRefCountPtrT<IVekFileBase> file;
  file.Adopt(counting);
  counting->Open("memory", IVekFileBase::ModeCreate | IVekFileBase::ModeRead);
  counting->mode = IVekFileBase::ModeRead;
  counting->SetContents(b.data(), static_cast<int32_t>(b.size()));
  counting->position = 0;
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(ReadSGI(*file, image));
  for (int y : {0, height - 1}) EXPECT_EQ(PixelAt(*image, width - 1, y), std::vector<int>{33});
  // Reading the shared runs for each row would be 4096 x 64 KB.
  EXPECT_LE(counting->bytesRead, static_cast<int64_t>(b.size()));
}

TEST(SgiDecoder, TotalPixelBudgetIsCheckedBeforeAllocating) {
  for (const int height : {4096, 4097}) {
    Bytes header = WriteSgi(1, 1, 1, 2);
    header.resize(512);
    header[6] = 0x40;  // 16384 wide
    header[7] = 0;
    header[8] = static_cast<uint8_t>(height >> 8);
    header[9] = static_cast<uint8_t>(height);
    LogCapture capture;
    auto file = MemoryStream(header);
    CRefCountPtrT<Image> image;
    const bool ok = ReadSGI(*file, image);
    if (height == 4096) {
      ASSERT_TRUE(ok);
      EXPECT_EQ(image->dataSize, 64 * 1024 * 1024);
      EXPECT_EQ(capture.Text().find("refused"), std::string::npos) << capture.Text();
    } else {
      EXPECT_FALSE(ok);
      EXPECT_FALSE(image);
      EXPECT_EQ(capture.Text(), "<!> Image size refused (16384x4097x1)\n");
    }
  }
}

TEST(SgiDecoder, RefusedFiles) {
  const Bytes good = WriteSgi(6, 4, 3);
  struct Case {
    const char* what;
    Bytes bytes;
  };
  Bytes rowOutside = good;
  rowOutside[512 + 3] = 0xF0;  // first row starts far past the end
  std::vector<Case> cases = {
      {"verbatim", WriteSgi(6, 4, 3, 0)},
      {"two bytes per channel", WriteSgi(6, 4, 3, 1, 2)},
      {"five channels", WriteSgi(6, 4, 5)},
      {"truncated tables", Bytes(good.begin(), good.begin() + 512 + 40)},
      {"truncated rows", Bytes(good.begin(), good.end() - 4)},
      {"row outside the file", rowOutside},
      {"short header", Bytes(good.begin(), good.begin() + 100)},
  };
  for (const auto& c : cases) {
    LogCapture capture;
    auto file = MemoryStream(c.bytes);
    CRefCountPtrT<Image> image;
    EXPECT_FALSE(ReadSGI(*file, image)) << c.what;
    EXPECT_FALSE(image) << c.what;
  }
}

}  // namespace
