// Byte streams: memory and disk files, their preconditions, seeking, line
// reading and the block format.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "engine/io/file.h"
#include "tests/gfx/gfx_test_util.h"
#include "tests/support/log_capture.h"

using gfx_test::Bytes;
using gfx_test::MemoryStream;
using gfx_test::TempFile;

namespace {
Bytes Counting(int n) {
  Bytes b(n);
  for (int i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i);
  return b;
}
}  // namespace

TEST(MemoryFile, SeekFromEachOrigin) {
  auto file = MemoryStream(Counting(100));
  struct Case { int32_t offset, origin, expected; } cases[] = {
      {10, 2, 90}, {5, 0, 5}, {7, 1, 12}, {-2, 1, 10}, {0, 2, 100}, {100, 0, 100},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(file->Seek(c.offset, c.origin)) << c.offset << "," << c.origin;
    EXPECT_EQ(file->Tell(), c.expected) << c.offset << "," << c.origin;
  }
  EXPECT_FALSE(file->Seek(0, 3));
  EXPECT_FALSE(file->Seek(-1, 0));  // before the start: refused, position kept
  EXPECT_EQ(file->Tell(), 100);
  EXPECT_TRUE(file->Eof());
}

TEST(MemoryFile, ReadsStopAtTheEndAndGetcGivesMinusOne) {
  auto file = MemoryStream(Counting(10));
  ASSERT_TRUE(file->Seek(8, 0));
  uint8_t out[8] = {};
  EXPECT_EQ(file->Read(out, 8), 2);
  EXPECT_EQ(out[0], 8);
  EXPECT_EQ(out[1], 9);
  EXPECT_EQ(file->Read(out, 8), 0);
  EXPECT_EQ(file->Getc(), -1);
  file->Rewind();
  EXPECT_EQ(file->Getc(), 0);
  EXPECT_EQ(file->Getc(), 1);
  EXPECT_EQ(file->Size(), 10);
}

TEST(MemoryFile, ReadAndGetcNeedTheReadFlag) {
  auto file = MemoryStream(Counting(10), IVekFileBase::ModeWrite);
  uint8_t out[4];
  EXPECT_EQ(file->Read(out, 4), 0);
  EXPECT_EQ(file->Getc(), 0);
  EXPECT_EQ(file->Tell(), 0);
  auto reader = MemoryStream(Counting(10));
  EXPECT_EQ(reader->Write(out, 4), 0);  // and writing needs the write flag
}

TEST(MemoryFile, OpenWithoutBufferOrCreateFlagFailsAndClosedFileRefusesEverything) {
  CRefCountPtrT<IVekFileBase> file;
  file.Adopt(new MemoryFile());
  EXPECT_FALSE(file->Open("x", IVekFileBase::ModeRead));
  EXPECT_FALSE(file->IsOpen());
  EXPECT_FALSE(file->Close());
  uint8_t b[2];
  EXPECT_EQ(file->Read(b, 2), 0);
  EXPECT_FALSE(file->Seek(0, 0));
  ASSERT_TRUE(file->Open("x", IVekFileBase::ModeCreate | IVekFileBase::ModeWrite | IVekFileBase::ModeRead));
  EXPECT_EQ(file->Write("abc", 3), 3);
  EXPECT_EQ(file->Size(), 3);
  EXPECT_TRUE(file->Close());
  EXPECT_EQ(file->Size(), 0);
}

TEST(MemoryFile, WritesGrowTheBufferAndFillGapsWithZeros) {
  CRefCountPtrT<IVekFileBase> file;
  file.Adopt(new MemoryFile());
  ASSERT_TRUE(file->Open("w", IVekFileBase::ModeCreate | IVekFileBase::ModeWrite | IVekFileBase::ModeRead));
  const Bytes big = Counting(1000);
  EXPECT_EQ(file->Write(big.data(), 1000), 1000);
  ASSERT_TRUE(file->Seek(1004, 0));
  EXPECT_EQ(file->Write("z", 1), 1);
  EXPECT_EQ(file->Size(), 1005);
  file->Seek(998, 0);
  uint8_t tail[7];
  ASSERT_EQ(file->Read(tail, 7), 7);
  EXPECT_EQ(Bytes(tail, tail + 7), (Bytes{998 & 0xFF, 999 & 0xFF, 0, 0, 0, 0, 'z'}));
}

TEST(MemoryFile, ReadLineBehavesLikeFgets) {
  const std::string text = "first\nsecond line\nlast";
  auto file = MemoryStream(Bytes(text.begin(), text.end()));
  auto* memory = static_cast<MemoryFile*>(file.get());
  char buffer[8];
  ASSERT_NE(memory->ReadLine(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "first\n");
  ASSERT_NE(memory->ReadLine(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "second ");  // count - 1 bytes, terminated
  ASSERT_NE(memory->ReadLine(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "line\n");
  ASSERT_NE(memory->ReadLine(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "last");
  EXPECT_EQ(memory->ReadLine(buffer, sizeof buffer), nullptr);
}

TEST(DiskFile, AReadOnlyFileLoadsAndIsOpenedWithoutWriteAccess) {
  TempFile temp("vivarn_gfx_readonly.bin", Counting(50));
  std::filesystem::permissions(temp.path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  CRefCountPtrT<IVekFileBase> file;
  ASSERT_TRUE(OpenFile(temp.path.c_str(), file));
  EXPECT_EQ(file->Getc(), 0);
#ifndef _WIN32
  // The stream itself is read-only, whatever rights the user has (root may
  // open anything for update, here and under wine): a raw write below the
  // mode check fails.
  EXPECT_EQ(file->WriteRaw("x", 1), 0);
#endif
  file->Close();
  std::filesystem::permissions(temp.path, std::filesystem::perms::owner_all);
}

TEST(DiskFile, OpenedForReadingOnlyItRefusesWritesAndSeeksLikeFseek) {
  TempFile temp("vivarn_gfx_disk.bin", Counting(50));
  CRefCountPtrT<IVekFileBase> file;
  ASSERT_TRUE(OpenFile(temp.path.c_str(), file));
  EXPECT_EQ(file->Size(), 50);
  EXPECT_EQ(file->Write("x", 1), 0);
  ASSERT_TRUE(file->Seek(-10, 2));  // fseek: origin 2 wants a negative offset
  EXPECT_EQ(file->Tell(), 40);
  EXPECT_EQ(file->Getc(), 40);
  uint8_t out[20];
  EXPECT_EQ(file->Read(out, 20), 9);
  EXPECT_EQ(file->Getc(), -1);
  EXPECT_TRUE(file->Eof());
  EXPECT_TRUE(file->Close());
  EXPECT_FALSE(file->Close());
}

TEST(OpenFile, PathsWithTheResourcePrefixLaterAreDiskPaths) {
  TempFile temp("res:inside.bin", Counting(3));
  CRefCountPtrT<IVekFileBase> file;
  // Only a prefix at the very start names a resource; this is a file on disk.
  const std::string diskPath = temp.path;
  ASSERT_NE(diskPath.find("res:"), 0u);
  ASSERT_TRUE(OpenFile(diskPath.c_str(), file));
  EXPECT_EQ(file->Size(), 3);
  file->Close();
  EXPECT_FALSE(OpenFile("res:NOSEPARATOR", file));
  EXPECT_FALSE(file);
  EXPECT_FALSE(OpenFile("/nonexistent/dir/file.tga", file));
  EXPECT_FALSE(file);
}

// ---- blocks ----

namespace {
CRefCountPtrT<IVekFileBase> WritableMemory() {
  CRefCountPtrT<IVekFileBase> file;
  file.Adopt(new MemoryFile());
  file->Open("blocks", IVekFileBase::ModeCreate | IVekFileBase::ModeWrite | IVekFileBase::ModeRead);
  return file;
}
}  // namespace

TEST(Blocks, OutermostBlockIsCompressedAndRoundTrips) {
  auto file = WritableMemory();
  const std::string text(5000, 'a');
  EXPECT_FALSE(file->BeginBlock(false, IVekFileBase::ModeWrite));
  EXPECT_EQ(file->BlockDepth(), 0);
  EXPECT_TRUE(file->BeginBlock(true, IVekFileBase::ModeWrite));
  EXPECT_EQ(file->Write(text.data(), 5000), 5000);
  EXPECT_EQ(file->Size(), 5000);
  EXPECT_TRUE(file->EndBlock());
  EXPECT_FALSE(file->EndBlock());
  // Header: stored length then unpacked length, both little-endian.
  auto* memory = static_cast<MemoryFile*>(file.get());
  ASSERT_GT(memory->size, 8);
  const uint32_t stored = memory->data[0] | memory->data[1] << 8 | memory->data[2] << 16 | memory->data[3] << 24;
  const uint32_t unpacked = memory->data[4] | memory->data[5] << 8 | memory->data[6] << 16 | memory->data[7] << 24;
  EXPECT_EQ(unpacked, 5000u);
  EXPECT_EQ(stored + 8, static_cast<uint32_t>(memory->size));
  EXPECT_LT(stored, 200u);  // 5000 equal bytes compress well

  file->Rewind();
  EXPECT_TRUE(file->BeginBlock(true, IVekFileBase::ModeRead));
  std::string back(5000, '\0');
  EXPECT_EQ(file->Read(back.data(), 6000), 5000);
  EXPECT_EQ(back, text);
  EXPECT_TRUE(file->EndBlock());
}

TEST(Blocks, NestedBlocksAreRawInsideACompressedOne) {
  auto file = WritableMemory();
  ASSERT_TRUE(file->BeginBlock(true, IVekFileBase::ModeWrite));
  file->Write("outer-", 6);
  EXPECT_FALSE(file->BeginBlock(true, IVekFileBase::ModeWrite));  // not outermost
  file->Write("inner", 5);
  EXPECT_FALSE(file->EndBlock());
  file->Write("-tail", 5);
  // Inside the outer block: 6 bytes, an 8-byte raw header (5, 5), 5 bytes, 5 bytes.
  EXPECT_EQ(file->Size(), 6 + 8 + 5 + 5);
  ASSERT_TRUE(file->EndBlock());
  file->Write("after", 5);

  file->Rewind();
  ASSERT_TRUE(file->BeginBlock(true, IVekFileBase::ModeRead));
  char buf[16] = {};
  ASSERT_EQ(file->Read(buf, 6), 6);
  EXPECT_STREQ(buf, "outer-");
  ASSERT_FALSE(file->BeginBlock(true, IVekFileBase::ModeRead));
  EXPECT_EQ(file->BlockDepth(), 2);
  EXPECT_EQ(file->Size(), 5);
  std::memset(buf, 0, sizeof buf);
  EXPECT_EQ(file->Read(buf, 16), 5);
  EXPECT_STREQ(buf, "inner");
  EXPECT_TRUE(file->Eof());
  EXPECT_FALSE(file->EndBlock());
  std::memset(buf, 0, sizeof buf);
  EXPECT_EQ(file->Read(buf, 16), 5);
  EXPECT_STREQ(buf, "-tail");
  EXPECT_TRUE(file->EndBlock());
  std::memset(buf, 0, sizeof buf);
  EXPECT_EQ(file->Read(buf, 16), 5);
  EXPECT_STREQ(buf, "after");
}

TEST(Blocks, IncompressibleDataRoundTrips) {
  std::mt19937 random(7);
  for (int n : {0, 1, 100, 4096, 70000}) {
    Bytes noise(n);
    for (auto& b : noise) b = static_cast<uint8_t>(random());
    auto file = WritableMemory();
    file->BeginBlock(true, IVekFileBase::ModeWrite);
    file->Write(noise.data(), n);
    ASSERT_TRUE(file->EndBlock());
    file->Rewind();
    ASSERT_TRUE(file->BeginBlock(true, IVekFileBase::ModeRead)) << n;
    Bytes back(n + 1);
    EXPECT_EQ(file->Read(back.data(), n + 1), n);
    back.resize(n);
    EXPECT_EQ(back, noise) << n;
  }
}

TEST(Blocks, SeekInsideABlockIsRelativeToTheBlock) {
  auto file = WritableMemory();
  file->BeginBlock(true, IVekFileBase::ModeWrite);
  const Bytes data = Counting(100);
  file->Write(data.data(), 100);
  file->EndBlock();
  file->Rewind();
  file->BeginBlock(true, IVekFileBase::ModeRead);
  ASSERT_TRUE(file->Seek(10, 2));
  EXPECT_EQ(file->Tell(), 90);
  EXPECT_EQ(file->Getc(), 90);
  EXPECT_FALSE(file->Seek(-1, 0));
}

TEST(Blocks, CorruptOrTruncatedBlocksAreNotOpened) {
  auto file = WritableMemory();
  file->BeginBlock(true, IVekFileBase::ModeWrite);
  const Bytes data = Counting(300);
  file->Write(data.data(), 300);
  file->EndBlock();
  auto* memory = static_cast<MemoryFile*>(file.get());
  const Bytes good(memory->data, memory->data + memory->size);

  struct Case {
    const char* what;
    Bytes bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"header only", Bytes(good.begin(), good.begin() + 8)});
  cases.push_back({"short header", Bytes(good.begin(), good.begin() + 5)});
  cases.push_back({"truncated data", Bytes(good.begin(), good.end() - 3)});
  Bytes wrongLength = good;
  wrongLength[4] ^= 0x01;  // unpacked length that disagrees with the data
  cases.push_back({"wrong unpacked length", wrongLength});
  Bytes garbage = good;
  for (size_t i = 8; i < garbage.size(); ++i) garbage[i] ^= 0x5A;
  cases.push_back({"garbage data", garbage});
  Bytes huge = good;
  huge[3] = 0x7F;  // stored length of about 2 GB
  cases.push_back({"absurd stored length", huge});

  for (const auto& c : cases) {
    LogCapture capture;
    auto reader = MemoryStream(c.bytes);
    EXPECT_FALSE(reader->BeginBlock(true, IVekFileBase::ModeRead)) << c.what;
    EXPECT_EQ(reader->BlockDepth(), 0) << c.what;
    EXPECT_NE(capture.Text().find("<!> Block cannot be read from memory\n"), std::string::npos) << c.what;
  }
}

TEST(Blocks, NestedReadBlockWithUnequalLengthsIsRefused) {
  auto file = WritableMemory();
  file->BeginBlock(true, IVekFileBase::ModeWrite);
  const Bytes inner = {4, 0, 0, 0, 5, 0, 0, 0, 'a', 'b', 'c', 'd'};
  file->Write(inner.data(), static_cast<int32_t>(inner.size()));
  file->EndBlock();
  file->Rewind();
  ASSERT_TRUE(file->BeginBlock(true, IVekFileBase::ModeRead));
  LogCapture capture;
  EXPECT_FALSE(file->BeginBlock(true, IVekFileBase::ModeRead));
  EXPECT_EQ(file->BlockDepth(), 1);
}

TEST(Blocks, ImplausibleLengthsAreRefusedBeforeAnyBufferIsMade) {
  // 23 stored bytes claimed, 16 present; then 16 stored bytes claiming to
  // unpack to 256 MB, far beyond what deflate can expand to.
  const Bytes shortStored = {23, 0, 0, 0, 0, 0, 0, 0, 16, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  Bytes hugeUnpacked = {16, 0, 0, 0, 0, 0, 0, 0x10};
  hugeUnpacked.resize(8 + 16, 0x78);
  for (const Bytes& bytes : {shortStored, hugeUnpacked}) {
    LogCapture capture;
    auto file = MemoryStream(bytes);
    EXPECT_FALSE(file->BeginBlock(true, IVekFileBase::ModeRead));
    EXPECT_EQ(file->BlockDepth(), 0);
    EXPECT_EQ(file->Tell(), 8);  // only the header was consumed
  }
}

