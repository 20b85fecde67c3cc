#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "engine/core/singleton.h"
#include "palette/palette_container.h"
#include "palette/palette_value.h"
#include "palette/starter_palettes.h"
#include "tests/palette/palette_names.h"

namespace {

CGradient Solid(Colour c) {
  CGradient g;
  g.SetPeg(PEG_START, c, 0.0);
  g.SetPeg(PEG_END, c, 1.0);
  return g;
}

std::vector<uint8_t> StoredBytes(const PaletteRecord& record) {
  MemoryWriteStream out;
  WritePaletteValue(out, record);
  return out.Bytes();
}
}  // namespace

TEST(PaletteDefault, IsTheRainbowWithSevenStops) {
  const auto record = CPaletteContainerBase::MakeDefaultPalette();
  EXPECT_EQ(NameOf(*record), Name("Default"));
  EXPECT_FALSE(record->guid.IsZero());
  const CGradient& g = record->gradient;
  EXPECT_EQ(g.GetMethod(), Cosine);
  EXPECT_EQ(g.GetQuantisation(), -1);
  EXPECT_EQ(g.GetUseBackground(), 0u);
  EXPECT_EQ(g.GetPeg(PEG_START).colour, 0x0000FFu);
  EXPECT_EQ(g.GetPeg(PEG_END).colour, 0xFF00FFu);
  const Colour inner[5] = {0x0080FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000};
  ASSERT_EQ(g.GetPegCount(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(g.GetPeg(i).colour, inner[i]) << i;
    EXPECT_DOUBLE_EQ(g.GetPeg(i).position, (i + 1) / 6.0) << i;
  }
  EXPECT_NE(CPaletteContainerBase::MakeDefaultPalette()->guid, record->guid);
}

TEST(PaletteEnsureDefault, EmptyStoreGetsOneCurrentDefault) {
  CPaletteContainerBase store;
  store.EnsureDefaultPalette();
  ASSERT_EQ(store.Count(), 1);
  EXPECT_EQ(NameOf(*store.palettes[0]), Name("Default"));
  EXPECT_EQ(store.currentGuid, store.palettes[0]->guid);
  store.EnsureDefaultPalette();
  EXPECT_EQ(store.Count(), 1);
}

TEST(PaletteEnsureDefault, LowerCaseDefaultIsNotDuplicatedAndBecomesCurrent) {
  CPaletteContainerBase store;
  store.AddPalette(Solid(0x111111), Name("Mine").c_str());
  store.AddPalette(Solid(0x222222), Name("default").c_str());
  store.EnsureDefaultPalette();
  ASSERT_EQ(store.Count(), 2);
  EXPECT_EQ(store.currentGuid, store.palettes[1]->guid);
}

TEST(PaletteEnsureDefault, KeepsAStoredCurrentPalette) {
  CPaletteContainerBase store;
  store.AddPalette(Solid(0x111111), Name("Mine").c_str());
  store.currentGuid = store.palettes[0]->guid;
  store.EnsureDefaultPalette();
  ASSERT_EQ(store.Count(), 2);
  EXPECT_EQ(NameOf(*store.palettes[1]), Name("Default"));
  EXPECT_EQ(store.currentGuid, store.palettes[0]->guid);
}

TEST(PaletteStarterSet, NothingStoredGetsDefaultCurrentAndTheSetNamedByTheSource) {
  CPaletteContainerBase store;
  // The name source knows all but the last: that one keeps its English name.
  const StarterNameSource names = [](uint32_t id) {
    return id == kStarterPalettes.back().nameId ? PaletteName() : PaletteName(3, static_cast<PaletteChar>(id));
  };
  EXPECT_TRUE(CompleteLoadedStore(store, 0, names));
  ASSERT_EQ(store.Count(), static_cast<int32_t>(1 + kStarterPaletteCount));
  EXPECT_EQ(store.currentGuid, store.palettes[0]->guid);
  EXPECT_EQ(StoredBytes(*store.palettes[0]), StoredBytes(*CPaletteContainerBase::MakeDefaultPalette()));
  std::vector<int32_t> methods;
  int32_t quantised = 0;
  for (size_t i = 0; i < kStarterPaletteCount; ++i) {
    const PaletteRecord& r = *store.palettes[i + 1];
    const StarterPalette& from = kStarterPalettes[i];
    EXPECT_EQ(NameOf(r), i + 1 < kStarterPaletteCount ? PaletteName(3, static_cast<PaletteChar>(from.nameId))
                                                       : Name(from.englishName));
    EXPECT_EQ(store.IndexOfGuid(r.guid), static_cast<int32_t>(i + 1));  // fresh and distinct
    EXPECT_EQ(r.gradient.GetPegCount(), from.pegCount);
    EXPECT_EQ(r.gradient.GetPeg(PEG_START).colour, from.start);
    // Young cells are told apart: colours change within the first ten ages.
    EXPECT_NE(r.gradient.ColourAt(0.001), r.gradient.ColourAt(0.05)) << from.englishName;
    if (std::find(methods.begin(), methods.end(), r.gradient.GetMethod()) == methods.end())
      methods.push_back(r.gradient.GetMethod());
    quantised += r.gradient.GetQuantisation() > 0;
  }
  EXPECT_GE(methods.size(), 5u);
  EXPECT_GE(quantised, 1);
}

TEST(PaletteStarterSet, AnythingStoredGetsNoStarters) {
  CPaletteContainerBase store;
  store.EnsureDefaultPalette();
  EXPECT_FALSE(CompleteLoadedStore(store, 1, nullptr));
  EXPECT_EQ(store.Count(), 1);
  // A store whose only values were unreadable still gets its "Default".
  CPaletteContainerBase unreadable;
  EXPECT_FALSE(CompleteLoadedStore(unreadable, 2, nullptr));
  ASSERT_EQ(unreadable.Count(), 1);
  EXPECT_EQ(NameOf(*unreadable.palettes[0]), Name("Default"));
}

TEST(PaletteStore, AddFindRemoveAndCopy) {
  CPaletteContainerBase store;
  const int32_t a = store.AddPalette(Solid(0x0000AA), Name("A").c_str());
  const int32_t b = store.AddPalette(Solid(0x0000BB), Name("A").c_str());  // names need not be unique
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 1);
  EXPECT_TRUE(store.currentGuid.IsZero());
  EXPECT_NE(store.palettes[0]->guid, store.palettes[1]->guid);
  EXPECT_EQ(store.FindByGuid(store.palettes[1]->guid), store.palettes[1].get());
  EXPECT_EQ(store.FindByGuid(PaletteGuid{}), nullptr);
  store.currentGuid = store.palettes[1]->guid;

  CPaletteContainerBase copy;
  copy.AddPalette(Solid(0), Name("gone").c_str());
  copy.CopyFrom(store);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.currentGuid, store.currentGuid);
  EXPECT_NE(copy.palettes[1].get(), store.palettes[1].get());
  EXPECT_EQ(copy.palettes[1]->guid, store.palettes[1]->guid);
  EXPECT_EQ(copy.palettes[1]->gradient.ColourAt(0.5), 0x0000BBu);

  store.RemoveAt(5);
  store.RemoveAt(-1);
  EXPECT_EQ(store.Count(), 2);
  store.RemoveAt(0);
  ASSERT_EQ(store.Count(), 1);
  EXPECT_EQ(store.palettes[0]->gradient.GetPeg(PEG_START).colour, 0x0000BBu);
  EXPECT_EQ(copy.Count(), 2);  // the copy is independent
  store.Clear();
  EXPECT_EQ(store.Count(), 0);
  EXPECT_FALSE(store.currentGuid.IsZero());
}

TEST(PaletteStore, NamesAreCutTo255Characters) {
  CPaletteContainerBase store;
  const PaletteName longName(400, PaletteChar{'x'});
  store.AddPalette(CGradient(), longName.c_str());
  EXPECT_EQ(store.palettes[0]->NameLength(), 255u);
  store.AddPalette(CGradient(), nullptr);
  EXPECT_EQ(store.palettes[1]->NameLength(), 0u);
}

TEST(PaletteStore, DefaultNameIsCaseInsensitiveAndExact) {
  EXPECT_TRUE(IsDefaultPaletteName(Name("Default").c_str()));
  EXPECT_TRUE(IsDefaultPaletteName(Name("DEFAULT").c_str()));
  EXPECT_TRUE(IsDefaultPaletteName(Name("default").c_str()));
  EXPECT_FALSE(IsDefaultPaletteName(Name("Defaults").c_str()));
  EXPECT_FALSE(IsDefaultPaletteName(Name("Defaul").c_str()));
  EXPECT_FALSE(IsDefaultPaletteName(Name("").c_str()));
  EXPECT_FALSE(IsDefaultPaletteName(nullptr));
}

TEST(PaletteStore, SingletonIsOneObjectUntilReleased) {
  CPaletteContainer first = CPaletteContainer::Instance();
  CPaletteContainer second = CPaletteContainer::Instance();
  EXPECT_EQ(first.get(), second.get());
  EXPECT_EQ(reinterpret_cast<uintptr_t>(first.get()) % 16, 0u);
  EXPECT_EQ(first->RefCount(), 3);
}

// The store names its values by this text; the bytes must be those of the
// Windows GUID the same text stands for, or a saved palette is not found again.
TEST(PaletteGuidText, ReadsTheGroupsAsAWindowsGuidStoresThem) {
  PaletteGuid guid;
  ASSERT_TRUE(ParsePaletteGuidText(L"00112233-4455-6677-8899-aAbBcCdDeEfF", guid));
  const uint8_t expected[16] = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66,
                                0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
  EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), std::begin(guid.bytes)));
}

TEST(PaletteGuidText, RefusesAnyOtherTextAndLeavesTheGuidAlone) {
  PaletteGuid guid;
  guid.bytes[0] = 7;
  for (const wchar_t* text : {L"", L"Default", L"00112233-4455-6677-8899-aabbccddeef",
                              L"00112233-4455-6677-8899-aabbccddeeff0", L"{00112233-4455-6677-8899-aabbccddeeff}",
                              L"00112233+4455-6677-8899-aabbccddeeff", L"0011223g-4455-6677-8899-aabbccddeeff"})
    EXPECT_FALSE(ParsePaletteGuidText(text, guid)) << static_cast<int>(std::wcslen(text));
  EXPECT_FALSE(ParsePaletteGuidText(nullptr, guid));
  EXPECT_EQ(guid.bytes[0], 7);
}
