#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "palette/byte_stream.h"
#include "palette/palette_value.h"
#include "tests/palette/palette_names.h"

namespace {

std::vector<uint8_t> GradientBytes(const CGradient& g) {
  MemoryWriteStream out;
  g.Save(out);
  return out.Bytes();
}

// Stated name length, then the raw name bytes, then the gradient bytes.
std::vector<uint8_t> Value(uint32_t statedLength, const std::vector<uint8_t>& nameBytes, const CGradient* g) {
  MemoryWriteStream out;
  PutLE32(out, statedLength);
  out.Write(nameBytes.data(), nameBytes.size());
  if (g) g->Save(out);
  return out.Bytes();
}

std::vector<uint8_t> Utf16(const char* ascii, size_t repeat = 1) {
  std::vector<uint8_t> out;
  for (size_t r = 0; r < repeat; ++r) {
    for (const char* c = ascii; *c; ++c) {
      out.push_back(static_cast<uint8_t>(*c));
      out.push_back(0);
    }
  }
  return out;
}

CGradient Sample() {
  CGradient g;
  g.SetPeg(PEG_START, 0x010203, 0.0);
  g.SetPeg(PEG_END, 0x040506, 1.0);
  g.SetMethod(HueShortest);
  g.SetQuantisation(5);
  g.AddPeg(0x0A0B0C, 0.3);
  return g;
}


bool Read(const std::vector<uint8_t>& bytes, PaletteRecord& record) {
  MemoryReadStream in(bytes.data(), bytes.size());
  return ReadPaletteValue(in, record);
}

}  // namespace

TEST(PaletteValue, WritesLengthNameAndGradientAndReadsThemBack) {
  PaletteRecord record;
  const PaletteChar name[] = {'S', 'u', 'n', 0x00E9, 0x4E2D, 0};  // non-ASCII units survive
  record.SetName(name);
  record.gradient.CopyFrom(Sample());
  MemoryWriteStream out;
  WritePaletteValue(out, record);
  const std::vector<uint8_t>& bytes = out.Bytes();
  ASSERT_EQ(bytes.size(), 4u + 10u + 64u);
  EXPECT_EQ(bytes[0], 10);
  EXPECT_EQ(bytes[10], 0xE9);
  EXPECT_EQ(bytes[12], 0x2D);
  EXPECT_EQ(bytes[13], 0x4E);

  PaletteRecord loaded;
  EXPECT_TRUE(Read(bytes, loaded));
  EXPECT_EQ(NameOf(loaded), NameOf(record));
  EXPECT_EQ(GradientBytes(loaded.gradient), GradientBytes(record.gradient));
}

TEST(PaletteValue, FiveCharacterNameWithoutPegsIs66BytesAndLoads) {
  CGradient g = Sample();
  g.RemovePeg(0);
  const std::vector<uint8_t> bytes = Value(10, Utf16("Ocean"), &g);
  ASSERT_EQ(bytes.size(), 66u);
  PaletteRecord record;
  EXPECT_TRUE(Read(bytes, record));
  EXPECT_EQ(NameOf(record), Name("Ocean"));
  EXPECT_EQ(GradientBytes(record.gradient), GradientBytes(g));
}

TEST(PaletteValue, SixtyTwoBytesLackTheCountAndLoadWithoutPegs) {
  const CGradient g = Sample();
  std::vector<uint8_t> bytes = Value(10, Utf16("Ocean"), &g);
  bytes.resize(62);
  PaletteRecord record;
  EXPECT_FALSE(Read(bytes, record));
  EXPECT_EQ(NameOf(record), Name("Ocean"));
  EXPECT_EQ(record.gradient.GetPegCount(), 0);
  EXPECT_EQ(record.gradient.GetMethod(), HueShortest);
  EXPECT_EQ(record.gradient.GetQuantisation(), 5);
  EXPECT_EQ(record.gradient.GetPeg(PEG_END).colour, 0x040506u);
}

TEST(PaletteValue, NameAbove512BytesIsCutAndTheGradientStillFound) {
  const CGradient g = Sample();
  const std::vector<uint8_t> bytes = Value(600, Utf16("abc", 100), &g);  // 300 characters
  PaletteRecord record;
  EXPECT_TRUE(Read(bytes, record));
  EXPECT_EQ(record.NameLength(), 256u);
  EXPECT_EQ(record.name[255], 'a');  // 255 % 3 == 0
  EXPECT_EQ(record.name[256], 0);
  EXPECT_EQ(GradientBytes(record.gradient), GradientBytes(g));
}

TEST(PaletteValue, OddNameLengthDropsTheHalfCharacterButKeepsAlignment) {
  const CGradient g = Sample();
  std::vector<uint8_t> name = Utf16("Fire");
  name.push_back('!');
  const std::vector<uint8_t> bytes = Value(9, name, &g);
  PaletteRecord record;
  EXPECT_TRUE(Read(bytes, record));
  EXPECT_EQ(NameOf(record), Name("Fire"));
  EXPECT_EQ(GradientBytes(record.gradient), GradientBytes(g));
}

TEST(PaletteValue, NameLongerThanTheValueKeepsWhatIsThere) {
  const std::vector<uint8_t> bytes = Value(0xFFFFFFF0u, Utf16("Sea"), nullptr);
  PaletteRecord record;
  record.SetName(Name("previous").c_str());
  EXPECT_FALSE(Read(bytes, record));
  EXPECT_EQ(NameOf(record), Name("Sea"));
  EXPECT_EQ(record.gradient.GetPegCount(), 0);
  EXPECT_EQ(record.gradient.GetMethod(), Cosine);
}

TEST(PaletteValue, EveryTruncationGivesAPrefixOfTheName) {
  PaletteRecord full;
  full.SetName(Name("Aurora").c_str());
  full.gradient.CopyFrom(Sample());
  MemoryWriteStream out;
  WritePaletteValue(out, full);
  const std::vector<uint8_t>& bytes = out.Bytes();
  for (size_t length = 0; length < bytes.size(); ++length) {
    PaletteRecord record;
    MemoryReadStream in(bytes.data(), length);
    EXPECT_FALSE(ReadPaletteValue(in, record)) << length;
    const size_t chars = length < 4 ? 0 : std::min<size_t>((length - 4) / 2, 6);
    EXPECT_EQ(NameOf(record), Name("Aurora").substr(0, chars)) << length;
    EXPECT_LE(record.gradient.GetPegCount(), 0) << length;
  }
}
