// The palette store against the real registry of the test's wine prefix.
// Every test starts from a missing palette key. The string table is built in,
// as in the program, for the starter palettes' names.
#include <windows.h>

#include <rpc.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/core/resource_loader_win32.h"
#include "palette/palette_container.h"
#include "palette/palette_value.h"
#include "palette/starter_palettes.h"
#include "tests/palette/palette_names.h"

namespace {

const wchar_t kPaletteKey[] = L"SOFTWARE\\Vivarn Screen Saver 2\\Settings\\Palette";

std::wstring GuidText(const PaletteGuid& guid) {
  UUID uuid;
  std::memcpy(&uuid, guid.bytes, sizeof uuid);
  RPC_WSTR text = nullptr;
  EXPECT_EQ(UuidToStringW(&uuid, &text), RPC_S_OK);
  std::wstring out(reinterpret_cast<wchar_t*>(text));
  RpcStringFreeW(&text);
  return out;
}

class PaletteRegistry : public ::testing::Test {
 protected:
  void SetUp() override { SHDeleteKeyW(HKEY_CURRENT_USER, kPaletteKey); }
  void TearDown() override { SHDeleteKeyW(HKEY_CURRENT_USER, kPaletteKey); }

  static HKEY Key() {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kPaletteKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    return key;
  }

  static void PutRaw(const std::wstring& name, DWORD type, const std::vector<uint8_t>& bytes) {
    HKEY key = Key();
    EXPECT_EQ(RegSetValueExW(key, name.c_str(), 0, type, bytes.data(), static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  static std::vector<uint8_t> ValueBytes(const char* name, const CGradient& gradient) {
    PaletteRecord record;
    record.SetName(Name(name).c_str());
    record.gradient.CopyFrom(gradient);
    MemoryWriteStream out;
    WritePaletteValue(out, record);
    return out.Bytes();
  }

  static PaletteGuid Guid(uint8_t seed) {
    PaletteGuid g;
    for (int i = 0; i < 16; ++i) g.bytes[i] = static_cast<uint8_t>(seed + i);
    return g;
  }

  // Value names in the key, the default value shown as "".
  static std::vector<std::wstring> ValueNames() {
    std::vector<std::wstring> names;
    HKEY key = Key();
    for (DWORD i = 0;; ++i) {
      wchar_t name[400];
      DWORD units = 400;
      if (RegEnumValueW(key, i, name, &units, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, units);
    }
    RegCloseKey(key);
    return names;
  }

  static bool HasValue(const std::vector<std::wstring>& names, const std::wstring& name) {
    for (const auto& n : names) {
      if (n == name) return true;
    }
    return false;
  }
};

// What a first run must leave: "Default" current and as it always was, then
// the starter set named from the string table, all of it in the registry
// without a Save.
void ExpectFirstRunStore(const CPaletteContainerBase& store) {
  ASSERT_EQ(store.Count(), static_cast<int32_t>(1 + kStarterPaletteCount));
  EXPECT_EQ(NameOf(*store.palettes[0]), Name("Default"));
  EXPECT_EQ(store.currentGuid, store.palettes[0]->guid);
  MemoryWriteStream made, loaded;
  WritePaletteValue(made, *CPaletteContainerBase::MakeDefaultPalette());
  WritePaletteValue(loaded, *store.palettes[0]);
  EXPECT_EQ(loaded.Bytes(), made.Bytes());
  const char* names[] = {"Fire", "Ice", "Forest", "Ocean", "Neon", "Sunset", "Greyscale", "Candy"};
  for (size_t i = 0; i < kStarterPaletteCount; ++i) {
    EXPECT_EQ(NameOf(*store.palettes[i + 1]), Name(names[i]));
    // The Russian twin exists for a Russian user's first run.
    EXPECT_NE(LoadResourceString(kStarterPalettes[i].nameId, kRussian),
              LoadResourceString(kStarterPalettes[i].nameId, kEnglishUs))
        << names[i];
  }
}

TEST_F(PaletteRegistry, FirstRunWithoutAKeyStoresDefaultAndTheStarterSetAtOnce) {
  CPaletteContainerBase store;
  ASSERT_TRUE(store.Load());
  ExpectFirstRunStore(store);

  const std::wstring text = GuidText(store.currentGuid);
  ASSERT_EQ(text.size(), 36u);
  const std::vector<std::wstring> names = ValueNames();
  EXPECT_EQ(names.size(), 2u + kStarterPaletteCount);
  for (const auto& record : store.palettes) EXPECT_TRUE(HasValue(names, GuidText(record->guid)));

  HKEY key = Key();
  DWORD type = 0, bytes = 0;
  ASSERT_EQ(RegQueryValueExW(key, text.c_str(), nullptr, &type, nullptr, &bytes), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(bytes, 4u + 14u + 52u + 12u * 5u);
  // 72 bytes are written; the system itself counts the terminator that
  // follows them in memory, as NT does for REG_SZ.
  DWORD storedBytes = 0;
  ASSERT_EQ(RegQueryValueExW(key, L"", nullptr, &type, nullptr, &storedBytes), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_TRUE(storedBytes == 72u || storedBytes == 74u) << storedBytes;
  wchar_t current[64] = {};
  DWORD currentBytes = sizeof current;
  ASSERT_EQ(RegQueryValueExW(key, L"", nullptr, &type, reinterpret_cast<BYTE*>(current), &currentBytes),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(std::wstring(current), text);

  // The second run finds the same store and adds nothing.
  CPaletteContainerBase again;
  ASSERT_TRUE(again.Load());
  ASSERT_EQ(again.Count(), store.Count());
  for (const auto& record : store.palettes) {
    const PaletteRecord* found = again.FindByGuid(record->guid);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(NameOf(*found), NameOf(*record));
    EXPECT_EQ(found->gradient.GetMethod(), record->gradient.GetMethod());
    EXPECT_EQ(found->gradient.GetQuantisation(), record->gradient.GetQuantisation());
  }
  EXPECT_EQ(again.currentGuid, store.currentGuid);
  EXPECT_EQ(ValueNames(), names);
}

TEST_F(PaletteRegistry, FirstRunWithTheEmptyKeyAnEarlierRunLeftStoresTheStarterSet) {
  RegCloseKey(Key());
  ASSERT_TRUE(ValueNames().empty());
  CPaletteContainerBase store;
  ASSERT_TRUE(store.Load());
  ExpectFirstRunStore(store);
  EXPECT_EQ(ValueNames().size(), 2u + kStarterPaletteCount);
}

TEST_F(PaletteRegistry, LoneLowerCaseDefaultIsNotDuplicatedAndBecomesCurrent) {
  CGradient g;
  g.SetMethod(HueUp);
  PutRaw(GuidText(Guid(1)), REG_BINARY, ValueBytes("default", g));
  CPaletteContainerBase store;
  ASSERT_TRUE(store.Load());
  ASSERT_EQ(store.Count(), 1);
  EXPECT_EQ(NameOf(*store.palettes[0]), Name("default"));
  EXPECT_EQ(store.palettes[0]->guid, Guid(1));
  EXPECT_EQ(store.palettes[0]->gradient.GetMethod(), HueUp);
  EXPECT_EQ(store.currentGuid, Guid(1));
  // A store from before the starter set stays as it is, in memory and stored.
  EXPECT_EQ(ValueNames(), std::vector<std::wstring>{GuidText(Guid(1))});
}

TEST_F(PaletteRegistry, TwoPalettesWithOneNameSurviveSaveAndLoad) {
  CPaletteContainerBase store;
  CGradient first, second;
  first.SetPeg(PEG_START, 0x111111, 0.0);
  second.SetPeg(PEG_START, 0x222222, 0.0);
  second.AddPeg(0x333333, 0.4);
  store.AddPalette(first, Name("Twin").c_str());
  store.AddPalette(second, Name("Twin").c_str());
  store.currentGuid = store.palettes[1]->guid;
  ASSERT_TRUE(store.Save());

  CPaletteContainerBase loaded;
  ASSERT_TRUE(loaded.Load());
  ASSERT_EQ(loaded.Count(), 3);  // the two twins and an added "Default"
  const PaletteRecord* a = loaded.FindByGuid(store.palettes[0]->guid);
  const PaletteRecord* b = loaded.FindByGuid(store.palettes[1]->guid);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(NameOf(*a), Name("Twin"));
  EXPECT_EQ(NameOf(*b), Name("Twin"));
  EXPECT_EQ(a->gradient.GetPeg(PEG_START).colour, 0x111111u);
  EXPECT_EQ(b->gradient.GetPegCount(), 1);
  EXPECT_EQ(loaded.currentGuid, store.palettes[1]->guid);
}

TEST_F(PaletteRegistry, SaveDropsValuesOfRemovedPalettes) {
  CPaletteContainerBase store;
  ASSERT_TRUE(store.Load());
  store.AddPalette(CGradient(), Name("Keep").c_str());
  const int32_t drop = store.AddPalette(CGradient(), Name("Drop").c_str());
  ASSERT_TRUE(store.Save());
  const std::wstring dropped = GuidText(store.palettes[static_cast<size_t>(drop)]->guid);
  ASSERT_TRUE(HasValue(ValueNames(), dropped));

  store.RemoveAt(drop);
  ASSERT_TRUE(store.Save());
  const std::vector<std::wstring> names = ValueNames();
  EXPECT_FALSE(HasValue(names, dropped));
  // Default, the starter set, Keep and the current-palette value.
  EXPECT_EQ(names.size(), 3u + kStarterPaletteCount);
}

TEST_F(PaletteRegistry, SixtyTwoAndSixtySixByteValuesWithFiveCharacterNamesLoad) {
  CGradient g;
  g.SetPeg(PEG_START, 0x0000FF, 0.0);
  g.SetMethod(Linear);
  const std::vector<uint8_t> full = ValueBytes("Ocean", g);
  ASSERT_EQ(full.size(), 66u);
  PutRaw(GuidText(Guid(10)), REG_BINARY, full);
  PutRaw(GuidText(Guid(40)), REG_BINARY, std::vector<uint8_t>(full.begin(), full.begin() + 62));
  CPaletteContainerBase store;
  ASSERT_TRUE(store.Load());
  ASSERT_EQ(store.Count(), 3);
  for (uint8_t seed : {10, 40}) {
    const PaletteRecord* r = store.FindByGuid(Guid(seed));
    ASSERT_NE(r, nullptr) << int(seed);
    EXPECT_EQ(NameOf(*r), Name("Ocean"));
    EXPECT_EQ(r->gradient.GetPegCount(), 0);
    EXPECT_EQ(r->gradient.GetMethod(), Linear);
    EXPECT_EQ(r->gradient.ColourAt(0.0), 0x0000FFu);
  }
}

TEST_F(PaletteRegistry, OddDataLoadsWhatIsThereAndNothingElse) {
  // A value whose name is no GUID, values too short to hold anything, a name
  // length of four gigabytes, a string where binary data belongs, and a value
  // name too long for the enumeration buffer ahead of the others (wine lists
  // value names in sorted order; "000..." comes first).
  PutRaw(std::wstring(300, L'0'), REG_BINARY, ValueBytes("TooLong", CGradient()));
  PutRaw(L"not a guid", REG_BINARY, ValueBytes("Stray", CGradient()));
  PutRaw(GuidText(Guid(2)), REG_BINARY, {});
  PutRaw(GuidText(Guid(3)), REG_BINARY, {0x01, 0x02, 0x03});
  PutRaw(GuidText(Guid(4)), REG_BINARY, {0xFF, 0xFF, 0xFF, 0xFF, 'A', 0});
  PutRaw(GuidText(Guid(5)), REG_SZ, {'x', 0, 'y', 0, 0, 0});
  PutRaw(GuidText(Guid(6)), REG_BINARY, ValueBytes("Good", CGradient()));
  const std::wstring braces = L"{" + GuidText(Guid(6)) + L"}";
  PutRaw(L"", REG_SZ, std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(braces.c_str()),
                                          reinterpret_cast<const uint8_t*>(braces.c_str() + braces.size() + 1)));

  CPaletteContainerBase store;
  ASSERT_TRUE(store.Load());
  const PaletteRecord* good = store.FindByGuid(Guid(6));
  ASSERT_NE(good, nullptr);
  EXPECT_EQ(NameOf(*good), Name("Good"));
  ASSERT_NE(store.FindByGuid(Guid(4)), nullptr);
  EXPECT_EQ(NameOf(*store.FindByGuid(Guid(4))), Name("A"));
  ASSERT_NE(store.FindByGuid(Guid(2)), nullptr);
  EXPECT_EQ(store.FindByGuid(Guid(2))->NameLength(), 0u);
  // The value named "not a guid" loads without a GUID, and a zero GUID names
  // no palette.
  EXPECT_EQ(store.FindByGuid(PaletteGuid{}), nullptr);
  int strays = 0;
  for (const auto& r : store.palettes) strays += NameOf(*r) == Name("Stray") && r->guid.IsZero();
  EXPECT_EQ(strays, 1);
  // The braced current GUID does not parse: the added "Default" is current.
  const PaletteRecord* current = store.FindByGuid(store.currentGuid);
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(NameOf(*current), Name("Default"));
  EXPECT_EQ(store.Count(), 7);  // six stored values (the over-long name skipped) and "Default"
}

TEST_F(PaletteRegistry, PalettesStoredUnderNamesThatAreNoGuidsAreSavedUnderThoseNamesAgain) {
  PutRaw(L"my warm colours", REG_BINARY, ValueBytes("Warm", CGradient()));
  PutRaw(L"my cold colours", REG_BINARY, ValueBytes("Cold", CGradient()));
  CPaletteContainerBase loaded;
  ASSERT_TRUE(loaded.Load());
  CPaletteContainerBase edited;  // the sheet edits a copy and saves it on OK
  edited.CopyFrom(loaded);
  ASSERT_TRUE(edited.Save());
  const std::vector<std::wstring> names = ValueNames();
  EXPECT_TRUE(HasValue(names, L"my warm colours"));
  EXPECT_TRUE(HasValue(names, L"my cold colours"));
  EXPECT_FALSE(HasValue(names, GuidText(PaletteGuid{})));
  CPaletteContainerBase again;
  ASSERT_TRUE(again.Load());
  int found = 0;
  for (const auto& r : again.palettes)
    found += r->guid.IsZero() && (NameOf(*r) == Name("Warm") || NameOf(*r) == Name("Cold"));
  EXPECT_EQ(found, 2);
}

TEST_F(PaletteRegistry, DefaultStoredUnderANameThatIsNoGuidNeverBecomesCurrent) {
  PutRaw(L"not a guid", REG_BINARY, ValueBytes("Default", CGradient()));
  CPaletteContainerBase store;
  ASSERT_TRUE(store.Load());
  ASSERT_EQ(store.Count(), 2);  // the stray and the built-in one beside it
  const PaletteRecord* current = store.FindByGuid(store.currentGuid);
  ASSERT_NE(current, nullptr);
  EXPECT_FALSE(current->guid.IsZero());
  EXPECT_EQ(current->gradient.GetPegCount(), 5);  // the rainbow
  // Choosing it does nothing either.
  const int32_t stray = store.palettes[0]->guid.IsZero() ? 0 : 1;
  EXPECT_FALSE(store.MakeCurrent(stray));
  EXPECT_EQ(store.FindByGuid(store.currentGuid), current);
}

TEST_F(PaletteRegistry, StoredCurrentGuidThatNamesNoPaletteStays) {
  PutRaw(GuidText(Guid(7)), REG_BINARY, ValueBytes("Mine", CGradient()));
  const std::wstring text = GuidText(Guid(99));
  PutRaw(L"", REG_SZ, std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(text.c_str()),
                                          reinterpret_cast<const uint8_t*>(text.c_str() + text.size())));
  CPaletteContainerBase store;
  ASSERT_TRUE(store.Load());
  EXPECT_EQ(store.currentGuid, Guid(99));
  EXPECT_EQ(store.FindByGuid(store.currentGuid), nullptr);
  EXPECT_EQ(store.Count(), 2);
}

}  // namespace
