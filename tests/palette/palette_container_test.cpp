#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/singleton.h"
#include "palette/palette_container.h"
#include "tests/palette/palette_names.h"

namespace {

CGradient Solid(Colour c) {
  CGradient g;
  g.SetPeg(PEG_START, c, 0.0);
  g.SetPeg(PEG_END, c, 1.0);
  return g;
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
