#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "palette/byte_stream.h"
#include "palette/gradient.h"

namespace {

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x00FF00;
constexpr Colour kBlue = 0xFF0000;

int Red(Colour c) { return c & 0xFF; }
int Green(Colour c) { return (c >> 8) & 0xFF; }
int Blue(Colour c) { return (c >> 16) & 0xFF; }

// Channel-wise closeness: HSL round trips land a step off the exact value.
::testing::AssertionResult Near(Colour actual, Colour expected, int tolerance = 2) {
  if (std::abs(Red(actual) - Red(expected)) <= tolerance && std::abs(Green(actual) - Green(expected)) <= tolerance &&
      std::abs(Blue(actual) - Blue(expected)) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
}

Colour TableEntry(const std::vector<uint8_t>& table, int i) {
  return Colour{table[3 * i + 2]} | (Colour{table[3 * i + 1]} << 8) | (Colour{table[3 * i]} << 16);
}

std::vector<uint8_t> SaveBytes(const CGradient& gradient) {
  MemoryWriteStream out;
  gradient.Save(out);
  return out.Bytes();
}

CGradient TwoColour(Colour start, Colour end, int32_t method) {
  CGradient g;
  g.SetPeg(PEG_START, start, 0.0);
  g.SetPeg(PEG_END, end, 1.0);
  g.SetMethod(method);
  return g;
}

}  // namespace

// ---- defaults and construction ----------------------------------------------

TEST(GradientDefaults, ConstructionTakesThreeConsecutiveIdsStartEndBackground) {
  const int32_t before = nextPegId.load();
  CGradient g;
  EXPECT_EQ(g.GetPeg(PEG_START).id, before);
  EXPECT_EQ(g.GetPeg(PEG_END).id, before + 1);
  EXPECT_EQ(g.GetPeg(PEG_BACKGROUND).id, before + 2);
  EXPECT_EQ(nextPegId.load(), before + 3);
  EXPECT_EQ(g.GetMethod(), Cosine);
  EXPECT_EQ(g.GetQuantisation(), -1);
  EXPECT_EQ(g.GetUseBackground(), 0u);
}

TEST(GradientDefaults, FreshGradientTableSamplesQuartersAndNeverReachesWhite) {
  CGradient g;
  std::vector<uint8_t> table(12, 0xAB);
  g.FillColourTable(table.data(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(TableEntry(table, i), g.ColourAt(i / 4.0)) << i;
  EXPECT_EQ(TableEntry(table, 0), kBlack);
  EXPECT_NE(TableEntry(table, 3), kWhite);
  // Cosine at 0.5 is exactly half way: 127 in every channel.
  EXPECT_EQ(TableEntry(table, 2), 0x7F7F7Fu);
}

TEST(GradientDefaults, CosineMissesTheEndColourByOneStep) {
  CGradient g;  // black to white, Cosine
  EXPECT_EQ(g.ColourAt(1.0), 0xFEFEFEu);
  EXPECT_EQ(g.ColourAt(0.0), kBlack);
  EXPECT_EQ(BlendColours(Cosine, kBlack, kWhite, 0.7, 0.2, 0.7), 0xFEFEFEu);
  EXPECT_EQ(BlendColours(Cosine, kBlack, kWhite, 0.2, 0.2, 0.7), kBlack);
}

// ---- blending rules -----------------------------------------------------------

struct BlendCase {
  int32_t method;
  Colour c1, c2;
  double p, a, b;
  Colour expected;
};

class BlendTable : public ::testing::TestWithParam<BlendCase> {};

TEST_P(BlendTable, GivesTheExactColour) {
  const BlendCase& c = GetParam();
  EXPECT_EQ(BlendColours(c.method, c.c1, c.c2, c.p, c.a, c.b), c.expected)
      << "method " << c.method << " p " << c.p;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, BlendTable,
    ::testing::Values(
        BlendCase{Linear, kBlack, kWhite, 0.5, 0.0, 1.0, 0x7F7F7F},   // 127.5 truncated
        BlendCase{Linear, kBlack, kWhite, 0.0, 0.0, 1.0, kBlack},
        BlendCase{Linear, kBlack, kWhite, 1.0, 0.0, 1.0, kWhite},
        BlendCase{Linear, 0x102030, 0x405060, 0.4, 0.4, 0.4, 0x102030},  // zero length
        BlendCase{Linear, kRed, kBlue, 0.25, 0.0, 1.0, 0x3F00BF},     // channels stay apart
        BlendCase{HoldLeft, kRed, kBlue, 0.9, 0.0, 1.0, kRed},
        BlendCase{HoldRight, kRed, kBlue, 0.1, 0.0, 1.0, kBlue},
        BlendCase{Midpoint, 0x0000FF, 0x000001, 0.3, 0.0, 1.0, 0x000080},  // (255+1)>>1
        BlendCase{Midpoint, 0x030303, 0x000000, 0.3, 0.0, 1.0, 0x010101},  // rounded down
        BlendCase{LinearReversed, kBlack, kWhite, 0.25, 0.0, 1.0, 0xBFBFBF},  // 191.25
        BlendCase{LinearReversed, kBlack, kWhite, 0.0, 0.0, 1.0, kWhite},
        BlendCase{LinearReversed, kBlack, kWhite, 1.0, 0.0, 1.0, kBlack},
        BlendCase{10, kRed, kBlue, 0.5, 0.0, 1.0, kBlack},
        BlendCase{-1, kRed, kBlue, 0.5, 0.0, 1.0, kBlack}));

class ZeroLengthSegment : public ::testing::TestWithParam<int32_t> {};

TEST_P(ZeroLengthSegment, GivesTheStartColour) {
  EXPECT_EQ(BlendColours(GetParam(), 0x336699, 0xCC9933, 0.5, 0.5, 0.5), 0x336699u);
}

INSTANTIATE_TEST_SUITE_P(EveryRuleThatDivides, ZeroLengthSegment,
                         ::testing::Values(Cosine, HueUp, HueDown, HueShortest, HueLongest, Linear,
                                           LinearReversed));

TEST(GradientBlend, FirstPegAtZeroSampledAtZeroIsTheStartColourUnderDividingRules) {
  for (int32_t method : {Cosine, HueUp, HueDown, HueShortest, HueLongest}) {
    CGradient g = TwoColour(0x123456, kWhite, method);
    g.AddPeg(0x654321, 0.0);
    EXPECT_EQ(g.ColourAt(0.0), 0x123456u) << method;
    std::vector<uint8_t> table(3 * 8);
    g.FillColourTable(table.data(), 8);
    EXPECT_EQ(TableEntry(table, 0), 0x123456u) << method;
  }
}

TEST(GradientBlend, PositionOnFirstPegUsesStartSegmentAndGivesPegColourUnderLinear) {
  CGradient g = TwoColour(kBlack, kWhite, Linear);
  g.AddPeg(kGreen, 0.4);
  g.AddPeg(kBlue, 0.8);
  EXPECT_EQ(g.SegmentAt(0.3), PEG_START);
  EXPECT_EQ(g.SegmentAt(0.4), 0);
  EXPECT_EQ(g.ColourAt(0.4), kGreen);
  EXPECT_EQ(g.ColourAt(0.8), kBlue);
  EXPECT_EQ(g.ColourAt(0.2), 0x007F00u);  // half way from black to green, 127.5 truncated
}

// ---- HSL hue directions ---------------------------------------------------------

struct HueCase {
  int32_t method;
  Colour from, to;
  double p;
  Colour expected;
};

class HueDirection : public ::testing::TestWithParam<HueCase> {};

TEST_P(HueDirection, PassesThroughTheExpectedHue) {
  const HueCase& c = GetParam();
  CGradient g = TwoColour(c.from, c.to, c.method);
  EXPECT_TRUE(Near(g.ColourAt(c.p), c.expected)) << "method " << c.method << " p " << c.p;
}

constexpr Colour kMagenta = 0xFF00FF;
constexpr Colour kYellow = 0x00FFFF;
constexpr Colour kCyan = 0xFFFF00;

INSTANTIATE_TEST_SUITE_P(
    RedToBlueAndBack, HueDirection,
    ::testing::Values(
        // Shortest way from hue 0 to 2/3 goes down through magenta.
        HueCase{HueShortest, kRed, kBlue, 0.5, kMagenta},
        // Longest and Up go through yellow, green and cyan.
        HueCase{HueLongest, kRed, kBlue, 0.25, kYellow}, HueCase{HueLongest, kRed, kBlue, 0.5, kGreen},
        HueCase{HueLongest, kRed, kBlue, 0.75, kCyan}, HueCase{HueUp, kRed, kBlue, 0.25, kYellow},
        HueCase{HueUp, kRed, kBlue, 0.5, kGreen}, HueCase{HueUp, kRed, kBlue, 0.75, kCyan},
        // Down from red to blue runs the hue 0 -> 5/3: cyan at 0.3, red again
        // at 0.6, magenta at 0.5.
        HueCase{HueDown, kRed, kBlue, 0.3, kCyan}, HueCase{HueDown, kRed, kBlue, 0.5, kMagenta},
        HueCase{HueDown, kRed, kBlue, 0.6, kRed},
        // Blue to red: Down runs through cyan, green and yellow.
        HueCase{HueDown, kBlue, kRed, 0.25, kCyan}, HueCase{HueDown, kBlue, kRed, 0.5, kGreen},
        HueCase{HueDown, kBlue, kRed, 0.75, kYellow}));

TEST(GradientHsl, GreyEndsBlendSaturationAndLightnessOnly) {
  CGradient g = TwoColour(kBlack, kWhite, HueShortest);
  EXPECT_TRUE(Near(g.ColourAt(0.5), 0x7F7F7F));
  EXPECT_EQ(g.ColourAt(0.0), kBlack);
}

// ---- quantisation and the background --------------------------------------------

TEST(GradientQuantisation, FourBandsShowTheColourAtTheBandCentre) {
  CGradient smooth = TwoColour(kBlack, kWhite, Linear);
  CGradient banded = smooth;
  banded.SetQuantisation(4);
  const Colour firstBand = smooth.ColourAt(0.125);
  for (double p : {0.0, 0.05, 0.125, 0.2, 0.2499}) EXPECT_EQ(banded.ColourAt(p), firstBand) << p;
  EXPECT_EQ(banded.ColourAt(0.25), smooth.ColourAt(0.375));
  EXPECT_EQ(banded.ColourAt(0.99), smooth.ColourAt(0.875));
}

TEST(GradientQuantisation, PositionOneBelongsToTheLastBand) {
  CGradient g = TwoColour(kBlack, kWhite, Linear);
  g.AddPeg(0x808080, 0.5);
  g.SetQuantisation(4);
  EXPECT_EQ(g.ColourAt(1.0), g.ColourAt(0.9));
}

TEST(GradientQuantisation, ZeroOrNegativeBandCountsMeanSmooth) {
  CGradient smooth = TwoColour(kRed, kBlue, Cosine);
  for (int32_t bands : {0, -2, std::numeric_limits<int32_t>::min()}) {
    CGradient g = smooth;
    g.SetQuantisation(bands);
    for (double p : {0.0, 0.3, 0.77, 1.0}) EXPECT_EQ(g.ColourAt(p), smooth.ColourAt(p)) << bands << " " << p;
  }
}

TEST(GradientBackground, EntryZeroAndExactZeroShowTheBackground) {
  CGradient g = TwoColour(kRed, kBlue, Linear);
  g.SetPeg(PEG_BACKGROUND, kGreen, 0.5);
  g.SetUseBackground(1);
  EXPECT_EQ(g.ColourAt(0.0), kGreen);
  EXPECT_NE(g.ColourAt(0.0001), kGreen);
  std::vector<uint8_t> table(3 * 10);
  g.FillColourTable(table.data(), 10);
  EXPECT_EQ(TableEntry(table, 0), kGreen);
  EXPECT_EQ(TableEntry(table, 1), g.ColourAt(0.1));
}

TEST(GradientBackground, UnknownMethodGivesBackgroundAndLeavesTableUntouched) {
  CGradient g = TwoColour(kRed, kBlue, 12);
  g.SetPeg(PEG_BACKGROUND, 0x445566, 0.0);
  g.SetUseBackground(1);
  EXPECT_EQ(g.ColourAt(0.5), 0x445566u);
  std::vector<uint8_t> table(3 * 5, 0xAB);
  g.FillColourTable(table.data(), 5);
  EXPECT_EQ(table, std::vector<uint8_t>(3 * 5, 0xAB));
}

TEST(GradientTable, StoresBlueGreenRedAndSamplesIOverCount) {
  CGradient g = TwoColour(0x332211, kWhite, HoldLeft);
  g.AddPeg(0x665544, 0.5);
  std::vector<uint8_t> table(3 * 4);
  g.FillColourTable(table.data(), 4);
  EXPECT_EQ(table[0], 0x33);
  EXPECT_EQ(table[1], 0x22);
  EXPECT_EQ(table[2], 0x11);
  // 0.5 is on the peg, so the start segment holds the start colour there;
  // 0.75 is after the last peg and holds the peg's colour.
  EXPECT_EQ(TableEntry(table, 2), 0x332211u);
  EXPECT_EQ(TableEntry(table, 3), 0x665544u);
}

TEST(GradientLookup, PositionsOutsideTheGradientAreBlack) {
  CGradient g = TwoColour(kRed, kBlue, HoldLeft);
  EXPECT_EQ(g.ColourAt(-0.01), kBlack);
  EXPECT_EQ(g.ColourAt(1.01), kBlack);
  EXPECT_EQ(g.ColourAt(std::nan("")), kBlack);
}

// ---- peg operations --------------------------------------------------------------

TEST(GradientPegs, SetStartChangesOnlyTheColourAndReturnsMinusOne) {
  CGradient g;
  const CPeg before = g.GetPeg(PEG_START);
  EXPECT_EQ(g.SetPeg(PEG_START, kRed, 0.7), -1);
  const CPeg after = g.GetPeg(PEG_START);
  EXPECT_EQ(after.colour, kRed);
  EXPECT_EQ(after.position, 0.0);
  EXPECT_EQ(after.id, before.id);
  EXPECT_EQ(g.SetPeg(PEG_END, kGreen, 0.2), -1);
  EXPECT_EQ(g.GetPeg(PEG_END).position, 1.0);
  EXPECT_EQ(g.SetPeg(PEG_BACKGROUND, kBlue, 0.9), -1);
  EXPECT_EQ(g.GetPeg(PEG_BACKGROUND).colour, kBlue);
  EXPECT_EQ(g.GetPegCount(), 0);
}

TEST(GradientPegs, PegMovedPastItsNeighbourKeepsItsIdIndex) {
  CGradient g;
  g.AddPeg(kRed, 0.2);
  g.AddPeg(kGreen, 0.4);
  g.AddPeg(kBlue, 0.6);
  const int32_t id = g.GetPeg(0).id;
  const int32_t index = g.SetPeg(0, 0x111111, 0.5);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(g.IndexFromId(id), index);
  EXPECT_EQ(g.GetPeg(index).colour, 0x111111u);
  EXPECT_EQ(g.GetPeg(0).colour, kGreen);
}

TEST(GradientPegs, AddPegClampsAndReturnsSortedIndex) {
  CGradient g;
  EXPECT_EQ(g.AddPeg(kRed, 0.5), 0);
  EXPECT_EQ(g.AddPeg(kGreen, 2.0), 1);
  EXPECT_EQ(g.AddPeg(kBlue, -3.0), 0);
  const int32_t nanIndex = g.AddPeg(kWhite, std::nan(""));
  EXPECT_EQ(g.GetPeg(nanIndex).colour, kWhite);
  EXPECT_EQ(g.GetPeg(nanIndex).position, 0.0);
  EXPECT_EQ(g.GetPeg(3).position, 1.0);
  EXPECT_EQ(g.GetPeg(2).position, 0.5);
  EXPECT_EQ(g.GetPeg(0).position, 0.0);
  EXPECT_EQ(g.GetPeg(1).position, 0.0);
}

TEST(GradientPegs, ManyPegsEndSortedWithEveryIdKept) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> position(0.0, 1.0);
  CGradient g;
  std::vector<int32_t> ids;
  for (int i = 0; i < 200; ++i) {
    const int32_t index = g.AddPeg(static_cast<Colour>(i), i % 5 == 0 ? 0.5 : position(random));
    ids.push_back(g.GetPeg(index).id);
  }
  for (int i = 0; i < 50; ++i) g.SetPeg(i * 3, 0, position(random));
  ASSERT_EQ(g.GetPegCount(), 200);
  for (int32_t i = 1; i < g.GetPegCount(); ++i) EXPECT_LE(g.GetPeg(i - 1).position, g.GetPeg(i).position);
  for (int32_t id : ids) EXPECT_GE(g.IndexFromId(id), 0);
}

TEST(GradientPegs, IndicesOutsideTheArrayTouchNothing) {
  CGradient g;
  g.AddPeg(kRed, 0.25);
  g.AddPeg(kGreen, 0.75);
  const std::vector<uint8_t> before = SaveBytes(g);
  for (int32_t index : {2, 3, -5, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}) {
    const CPeg peg = g.GetPeg(index);
    EXPECT_EQ(peg.colour, kBlack) << index;
    EXPECT_EQ(peg.position, 0.0) << index;
    EXPECT_EQ(peg.id, -1) << index;
    EXPECT_EQ(g.SetPeg(index, kWhite, 0.5), -1) << index;
    g.RemovePeg(index);
  }
  EXPECT_EQ(g.SetPeg(PEG_NONE, kWhite, 0.5), -1);
  g.RemovePeg(PEG_START);
  EXPECT_EQ(SaveBytes(g), before);
}

TEST(GradientPegs, RemovePegClosesTheGap) {
  CGradient g;
  g.AddPeg(kRed, 0.2);
  g.AddPeg(kGreen, 0.4);
  g.AddPeg(kBlue, 0.6);
  g.RemovePeg(1);
  ASSERT_EQ(g.GetPegCount(), 2);
  EXPECT_EQ(g.GetPeg(0).colour, kRed);
  EXPECT_EQ(g.GetPeg(1).colour, kBlue);
}

TEST(GradientPegs, SegmentAtFindsTheFirstMatchingPair) {
  CGradient g;
  g.AddPeg(kRed, 0.2);
  g.AddPeg(kGreen, 0.4);
  g.AddPeg(kBlue, 0.4);
  EXPECT_EQ(g.SegmentAt(0.1), PEG_START);
  EXPECT_EQ(g.SegmentAt(0.3), 0);
  EXPECT_EQ(g.SegmentAt(0.4), 0);
  EXPECT_EQ(g.SegmentAt(0.5), -1);
}

TEST(GradientCopy, CopyFromTakesPegsColoursAndSettingsButNotSpecialIds) {
  CGradient source = TwoColour(kRed, kBlue, HueUp);
  source.SetPeg(PEG_BACKGROUND, kGreen, 0.0);
  source.SetQuantisation(7);
  source.SetUseBackground(1);
  source.AddPeg(0x123456, 0.3);
  CGradient copy;
  const int32_t startId = copy.GetPeg(PEG_START).id;
  copy.AddPeg(kWhite, 0.9);
  copy.CopyFrom(source);
  ASSERT_EQ(copy.GetPegCount(), 1);
  EXPECT_EQ(copy.GetPeg(0).id, source.GetPeg(0).id);
  EXPECT_EQ(copy.GetPeg(PEG_START).id, startId);
  EXPECT_EQ(copy.GetPeg(PEG_START).colour, kRed);
  EXPECT_EQ(copy.GetPeg(PEG_END).colour, kBlue);
  EXPECT_EQ(copy.GetPeg(PEG_BACKGROUND).colour, kGreen);
  EXPECT_EQ(copy.GetMethod(), HueUp);
  EXPECT_EQ(copy.GetQuantisation(), 7);
  EXPECT_EQ(copy.GetUseBackground(), 1u);

  const CGradient constructed(source);
  EXPECT_EQ(SaveBytes(constructed), SaveBytes(source));
  EXPECT_NE(constructed.GetPeg(PEG_END).id, source.GetPeg(PEG_END).id);
}

// ---- byte format -----------------------------------------------------------------

TEST(GradientBytes, ThreePegsSaveTo88BytesAndLoadBackWithNewIds) {
  CGradient g = TwoColour(kRed, kBlue, HueLongest);
  g.SetPeg(PEG_BACKGROUND, 0x0A0B0C, 0.0);
  g.SetQuantisation(9);
  g.SetUseBackground(1);
  g.AddPeg(0x111111, 0.1);
  g.AddPeg(0x222222, 0.5);
  g.AddPeg(0x333333, 0.9);
  const std::vector<uint8_t> bytes = SaveBytes(g);
  ASSERT_EQ(bytes.size(), 88u);
  // Little-endian layout: start colour, then the method at 40, count at 48.
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0x00);
  EXPECT_EQ(bytes[40], HueLongest);
  EXPECT_EQ(bytes[44], 9);
  EXPECT_EQ(bytes[48], 3);

  CGradient loaded;
  MemoryReadStream in(bytes.data(), bytes.size());
  EXPECT_TRUE(loaded.Load(in));
  EXPECT_EQ(SaveBytes(loaded), bytes);
  for (int32_t i : {0, 1, 2, int32_t{PEG_START}, int32_t{PEG_END}, int32_t{PEG_BACKGROUND}}) {
    EXPECT_EQ(loaded.GetPeg(i).colour, g.GetPeg(i).colour) << i;
    EXPECT_EQ(loaded.GetPeg(i).position, g.GetPeg(i).position) << i;
    EXPECT_NE(loaded.GetPeg(i).id, g.GetPeg(i).id) << i;
  }
}

TEST(GradientBytes, RandomGradientsRoundTripExceptIds) {
  std::mt19937 random(2024);
  std::uniform_int_distribution<uint32_t> colour(0, 0xFFFFFF);
  std::uniform_real_distribution<double> position(0.0, 1.0);
  std::uniform_int_distribution<int32_t> small(-3, 40);
  for (int round = 0; round < 200; ++round) {
    CGradient g;
    g.SetPeg(PEG_START, colour(random), 0.0);
    g.SetPeg(PEG_END, colour(random), 1.0);
    g.SetPeg(PEG_BACKGROUND, colour(random), 0.0);
    g.SetMethod(small(random));
    g.SetQuantisation(small(random));
    g.SetUseBackground(static_cast<uint32_t>(round % 2));
    const int pegCount = round % 17;
    for (int i = 0; i < pegCount; ++i) g.AddPeg(colour(random), position(random));

    const std::vector<uint8_t> bytes = SaveBytes(g);
    ASSERT_EQ(bytes.size(), 52u + 12u * pegCount);
    CGradient loaded;
    MemoryReadStream in(bytes.data(), bytes.size());
    ASSERT_TRUE(loaded.Load(in));
    EXPECT_EQ(SaveBytes(loaded), bytes) << round;
    ASSERT_EQ(loaded.GetPegCount(), pegCount);
    for (int i = 0; i < pegCount; ++i) EXPECT_NE(loaded.GetPeg(i).id, g.GetPeg(i).id);
    std::vector<uint8_t> expected(3 * 64), actual(3 * 64);
    g.FillColourTable(expected.data(), 64);
    loaded.FillColourTable(actual.data(), 64);
    EXPECT_EQ(actual, expected) << round;
  }
}

namespace {
// A hand-built value: header fields then `pegs` (colour, position) pairs.
std::vector<uint8_t> Handmade(int32_t statedCount, const std::vector<std::pair<Colour, double>>& pegs) {
  CGradient base = TwoColour(kRed, kBlue, Linear);
  std::vector<uint8_t> bytes = SaveBytes(base);
  std::memcpy(&bytes[48], &statedCount, 4);
  for (const auto& peg : pegs) {
    uint8_t raw[12];
    std::memcpy(raw, &peg.first, 4);
    std::memcpy(raw + 4, &peg.second, 8);
    bytes.insert(bytes.end(), raw, raw + 12);
  }
  return bytes;
}
}  // namespace

TEST(GradientBytes, StatedCountBeyondTheDataIsCutToWhatIsThere) {
  const std::vector<uint8_t> bytes = Handmade(1000000, {{kGreen, 0.25}, {kWhite, 0.5}});
  CGradient g;
  MemoryReadStream in(bytes.data(), bytes.size());
  EXPECT_FALSE(g.Load(in));
  ASSERT_EQ(g.GetPegCount(), 2);
  EXPECT_EQ(g.GetPeg(1).colour, kWhite);
  EXPECT_EQ(g.GetPeg(PEG_START).colour, kRed);
}

TEST(GradientBytes, NegativeCountLoadsNoPegs) {
  const std::vector<uint8_t> bytes = Handmade(-5, {{kGreen, 0.25}});
  CGradient g;
  MemoryReadStream in(bytes.data(), bytes.size());
  g.Load(in);
  EXPECT_EQ(g.GetPegCount(), 0);
  EXPECT_EQ(g.GetMethod(), Linear);
}

TEST(GradientBytes, UnsortedOrWildPositionsAreBroughtIntoOrder) {
  const std::vector<uint8_t> bytes =
      Handmade(4, {{1, 0.9}, {2, std::nan("")}, {3, 7.0}, {4, -std::numeric_limits<double>::infinity()}});
  CGradient g;
  MemoryReadStream in(bytes.data(), bytes.size());
  EXPECT_TRUE(g.Load(in));
  ASSERT_EQ(g.GetPegCount(), 4);
  for (int32_t i = 0; i < 4; ++i) {
    EXPECT_GE(g.GetPeg(i).position, 0.0);
    EXPECT_LE(g.GetPeg(i).position, 1.0);
    if (i > 0) {
      EXPECT_LE(g.GetPeg(i - 1).position, g.GetPeg(i).position);
    }
  }
  EXPECT_EQ(g.GetPeg(3).colour, 3u);
  // Every position now finds a segment and a colour.
  std::vector<uint8_t> table(3 * 100);
  g.FillColourTable(table.data(), 100);
  EXPECT_EQ(g.ColourAt(1.0), 3u);
  EXPECT_EQ(g.ColourAt(0.95), BlendColours(Linear, 1, 3, 0.95, 0.9, 1.0));
}

TEST(GradientBytes, EveryTruncationLoadsWhatIsThereAndKeepsTheRestDefault) {
  CGradient g = TwoColour(kRed, kBlue, HueUp);
  g.AddPeg(kGreen, 0.5);
  const std::vector<uint8_t> bytes = SaveBytes(g);
  for (size_t length = 0; length < bytes.size(); ++length) {
    CGradient loaded;
    MemoryReadStream in(bytes.data(), length);
    EXPECT_FALSE(loaded.Load(in)) << length;
    EXPECT_EQ(loaded.GetPegCount(), 0) << length;  // the one peg needs all 88 bytes
    EXPECT_EQ(loaded.GetPeg(PEG_START).colour, length >= 4 ? kRed : kBlack) << length;
    EXPECT_EQ(loaded.GetPeg(PEG_END).colour, length >= 16 ? kBlue : kWhite) << length;
    EXPECT_EQ(loaded.GetMethod(), length >= 44 ? HueUp : Cosine) << length;
  }
}

TEST(GradientBytes, ColoursLoseAnyTopByteFromSettersAndStoredData) {
  CGradient g = TwoColour(0xFF0000FF, 0xFFFFFFFF, HoldLeft);
  g.SetPeg(PEG_BACKGROUND, 0xFF000000, 0.0);
  EXPECT_EQ(g.AddPeg(0x12345678, 0.5), 0);
  EXPECT_EQ(g.GetPeg(PEG_START).colour, 0x0000FFu);
  EXPECT_EQ(g.GetPeg(PEG_END).colour, 0xFFFFFFu);
  EXPECT_EQ(g.GetPeg(PEG_BACKGROUND).colour, 0u);
  EXPECT_EQ(g.GetPeg(0).colour, 0x345678u);

  std::vector<uint8_t> bytes = SaveBytes(g);
  bytes[3] = 0xAB;   // start colour's top byte
  bytes[55] = 0xCD;  // the peg's
  CGradient loaded;
  MemoryReadStream in(bytes.data(), bytes.size());
  ASSERT_TRUE(loaded.Load(in));
  EXPECT_EQ(loaded.ColourAt(0.25), 0x0000FFu);
  EXPECT_EQ(loaded.GetPeg(0).colour, 0x345678u);
}
