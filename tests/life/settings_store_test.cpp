// The loader and saver over an in-memory key: order, types, defaults written
// back, and what odd stored data turns into.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "life/settings_store.h"
#include "tests/life/life_test_support.h"

namespace {

struct StoredValue {
  RegistryType type;
  std::vector<uint8_t> data;
};

class MemoryKey : public ISettingsKey {
 public:
  bool Query(const char* name, uint8_t* buffer, uint32_t size, uint32_t& read) override {
    queried.push_back(name);
    auto it = values.find(name);
    if (it == values.end() || it->second.data.size() > size) return false;
    std::memcpy(buffer, it->second.data.data(), it->second.data.size());
    read = static_cast<uint32_t>(it->second.data.size());
    return true;
  }
  bool QueryTyped(const char* name, RegistryType& type, std::vector<uint8_t>& data, uint32_t limit) override {
    queried.push_back(name);
    auto it = values.find(name);
    if (it == values.end() || it->second.data.size() > limit) return false;
    type = it->second.type;
    data = it->second.data;
    return true;
  }
  void Write(const char* name, RegistryType type, const uint8_t* data, uint32_t size) override {
    written.push_back(name);
    values[name] = StoredValue{type, std::vector<uint8_t>(data, data + size)};
  }
  void PutDword(const char* name, uint32_t v) {
    values[name] = StoredValue{RegistryType::Dword, {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}};
  }
  void PutFloat(const char* name, float f, RegistryType type) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    PutDword(name, bits);
    values[name].type = type;
  }
  uint32_t Dword(const char* name) const {
    const auto& d = values.at(name).data;
    return uint32_t(d[0]) | uint32_t(d[1]) << 8 | uint32_t(d[2]) << 16 | uint32_t(d[3]) << 24;
  }
  std::map<std::string, StoredValue> values;
  std::vector<std::string> queried;
  std::vector<std::string> written;
};

std::vector<std::string> Names(const std::vector<const SettingEntry*>& order) {
  std::vector<std::string> names;
  for (const SettingEntry* entry : order) names.push_back(entry->name);
  return names;
}

float AsFloat(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}

TEST(SettingsLoad, FirstRunWritesEveryDefaultInLoadOrder) {
  MemoryKey key;
  auto task = MakeFieldTask(10, 10);
  SharedSettingValues shared;
  LoadSettingsFrom(key, *task, shared);

  const std::vector<std::string> loadOrder = {"ShowAdvancedCFG", "ShowFPS",   "ShowStat",    "VSyncOn",
                                              "PeriodicResetOn", "ResetPeriod", "ResetMode", "CellSize",
                                              "AutoReset",       "RuleBorn",  "RuleSurvive", "DieSlowly",
                                              "DieStep",         "FieldDrawMode", "LifeSpeed", "BkColor",
                                              "Monitors",        "RuleStates", "PatternName", "PatternFile",
                                              "OnBattery",       "MouseTolerance", "ShowClock",
                                              "SmoothGenerations"};
  EXPECT_EQ(key.queried, loadOrder);
  EXPECT_EQ(key.written, loadOrder);
  ASSERT_EQ(key.values.size(), 24u);
  EXPECT_EQ(key.values["DieStep"].type, RegistryType::Dword);
  EXPECT_EQ(AsFloat(key.Dword("DieStep")), 0.9f);
  EXPECT_EQ(key.values["LifeSpeed"].type, RegistryType::Binary);
  EXPECT_EQ(key.values["RuleBorn"].data, (std::vector<uint8_t>{0, 0, 0, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(key.values["RuleSurvive"].data, (std::vector<uint8_t>{0, 0, 1, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(key.values["BkColor"].type, RegistryType::Binary);
  EXPECT_EQ(key.values["BkColor"].data.size(), 16u);
  EXPECT_EQ(key.Dword("CellSize"), 10u);
  EXPECT_EQ(key.Dword("ResetPeriod"), 1000u);
  EXPECT_EQ(key.Dword("AutoReset"), 1u);
  EXPECT_EQ(key.Dword("DieSlowly"), 1u);
  EXPECT_EQ(key.Dword("PeriodicResetOn"), 0u);
  EXPECT_EQ(key.Dword("Monitors"), 0u);
  EXPECT_EQ(key.values["RuleStates"].type, RegistryType::Dword);
  EXPECT_EQ(key.Dword("RuleStates"), 2u);
  for (const char* text : {"PatternName", "PatternFile"}) {
    EXPECT_EQ(key.values[text].type, RegistryType::Text);
    EXPECT_EQ(key.values[text].data, (std::vector<uint8_t>{0, 0}));  // the empty text, terminated
  }
  EXPECT_EQ(key.Dword("OnBattery"), 1u);
  EXPECT_EQ(key.Dword("MouseTolerance"), 0u);
  EXPECT_EQ(key.Dword("ShowClock"), 0u);
  EXPECT_EQ(key.Dword("SmoothGenerations"), 0u);

  EXPECT_FALSE(task->PeriodicResetOn);
  EXPECT_TRUE(task->AutoReset);
  EXPECT_EQ(task->BkColor[2], 0.3f);
  EXPECT_EQ(task->BkColor[3], 1.0f);
  EXPECT_EQ(task->DieStep, 0.9f);
  EXPECT_EQ(task->CellSize, 10);
}

TEST(SettingsLoad, SecondRunWritesNothing) {
  MemoryKey key;
  auto task = MakeFieldTask(10, 10);
  SharedSettingValues shared;
  LoadSettingsFrom(key, *task, shared);
  key.written.clear();
  LoadSettingsFrom(key, *task, shared);
  EXPECT_TRUE(key.written.empty());
}

struct FlagCase {
  uint32_t stored;
  bool on;
};
class SettingsFlag : public ::testing::TestWithParam<FlagCase> {};

TEST_P(SettingsFlag, OnlyOneMeansOn) {
  MemoryKey key;
  key.PutDword("ShowFPS", GetParam().stored);
  key.PutDword("DieSlowly", GetParam().stored);
  auto task = MakeFieldTask(10, 10);
  SharedSettingValues shared;
  LoadSettingsFrom(key, *task, shared);
  EXPECT_EQ(task->ShowFPS, GetParam().on);
  EXPECT_EQ(task->DieSlowly, GetParam().on);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsFlag,
                         ::testing::Values(FlagCase{0, false}, FlagCase{1, true}, FlagCase{2, false},
                                           FlagCase{0xFFFFFFFFu, false}));

TEST(SettingsLoad, TooLongRuleIsReplacedByTheDefault) {
  MemoryKey key;
  key.values["RuleBorn"] = StoredValue{RegistryType::Binary, std::vector<uint8_t>(10, 1)};
  auto task = MakeFieldTask(10, 10);
  SharedSettingValues shared;
  LoadSettingsFrom(key, *task, shared);
  EXPECT_EQ(key.values["RuleBorn"].data, (std::vector<uint8_t>{0, 0, 0, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(task->RuleBorn[3], 1);
  EXPECT_EQ(task->RuleBorn[0], 0);
}

TEST(SettingsLoad, ShortRuleKeepsDefaultsInTheBytesItLacks) {
  MemoryKey key;
  key.values["RuleSurvive"] = StoredValue{RegistryType::Binary, {1, 1, 0, 0}};
  auto task = MakeFieldTask(10, 10);
  SharedSettingValues shared;
  LoadSettingsFrom(key, *task, shared);
  const uint8_t expected[9] = {1, 1, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(task->RuleSurvive, expected, 9), 0);
  EXPECT_EQ(key.values["RuleSurvive"].data.size(), 4u);  // accepted as read, not rewritten
}

TEST(SettingsLoad, DieStepLoadsFromEitherType) {
  for (RegistryType type : {RegistryType::Dword, RegistryType::Binary}) {
    MemoryKey key;
    key.PutFloat("DieStep", 0.5f, type);
    auto task = MakeFieldTask(10, 10);
    SharedSettingValues shared;
    LoadSettingsFrom(key, *task, shared);
    EXPECT_EQ(task->DieStep, 0.5f);
  }
}

struct UnsafeCase {
  const char* name;
  float stored;
};
class SettingsUnsafeFloat : public ::testing::TestWithParam<UnsafeCase> {};

TEST_P(SettingsUnsafeFloat, TakesTheDefault) {
  MemoryKey key;
  key.PutFloat(GetParam().name, GetParam().stored, RegistryType::Binary);
  auto task = MakeFieldTask(10, 10);
  SharedSettingValues shared;
  LoadSettingsFrom(key, *task, shared);
  EXPECT_EQ(task->DieStep, 0.9f);
  EXPECT_EQ(task->LifeSpeed, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsUnsafeFloat,
                         ::testing::Values(UnsafeCase{"DieStep", 1.5f}, UnsafeCase{"DieStep", -0.5f},
                                           UnsafeCase{"DieStep", NAN}, UnsafeCase{"DieStep", 0.0f},
                                           UnsafeCase{"LifeSpeed", NAN}, UnsafeCase{"LifeSpeed", INFINITY}));

TEST(SettingsLoad, OddNumbersNeverReachTheField) {
  MemoryKey key;
  key.PutDword("FieldDrawMode", 5);
  key.PutDword("CellSize", 0);
  key.PutDword("ResetMode", 7);
  auto task = MakeFieldTask(30, 20, 1);
  SetOutputSize(300, 200);
  SharedSettingValues shared;
  LoadSettingsFrom(key, *task, shared);
  EXPECT_EQ(task->FieldDrawMode, 0);
  EXPECT_EQ(Mesh(*task).vertexCount, 30 * 20 * 4);  // geometry rebuilt for cell mode
  task->ApplyCellSize();
  EXPECT_EQ(Field(*task).columns, 30);  // cell size 10
  randomState = 1;
  task->ResetPopulation();
  EXPECT_NE(randomState, 1u);  // a fill pattern outside the list fills the whole field
}

TEST(SettingsLoad, OddResetModeSpeedAndMonitorsStayAsStoredUntilSaved) {
  MemoryKey key;
  key.PutDword("ResetMode", 7);
  key.PutFloat("LifeSpeed", 1e30f, RegistryType::Binary);
  key.PutDword("Monitors", 3);
  auto task = MakeFieldTask(10, 10);
  SharedSettingValues shared;
  LoadSettingsFrom(key, *task, shared);
  EXPECT_EQ(task->ResetMode, 7);
  EXPECT_EQ(task->LifeSpeed, 1e30f);
  EXPECT_EQ(task->Monitors, 3);
  EXPECT_EQ(task->EffectiveMonitors(), 0);  // spans every monitor
  task->SetMonitors(2);
  EXPECT_EQ(task->EffectiveMonitors(), 2);  // a field for each monitor
  task->SetMonitors(3);
  EXPECT_EQ(key.Dword("ResetMode"), 7u);
  EXPECT_EQ(AsFloat(key.Dword("LifeSpeed")), 1e30f);
  // Saving writes what is in effect, as the configuration pages show it.
  SaveSettingsTo(key, *task, shared);
  EXPECT_EQ(key.Dword("ResetMode"), 0u);
  EXPECT_EQ(AsFloat(key.Dword("LifeSpeed")), 1000.0f);
  EXPECT_EQ(key.Dword("Monitors"), 0u);
}

TEST(SettingsLoad, RuleStatesJoinTheStoredMasksAndOddCountsStepAsLifeLikeUntilSaved) {
  for (uint32_t stored : {3u, 256u, 1u, 257u, 0xFFFFFFFFu}) {
    MemoryKey key;
    key.values["RuleBorn"] = StoredValue{RegistryType::Binary, {0, 0, 1, 0, 0, 0, 0, 0, 0}};
    key.values["RuleSurvive"] = StoredValue{RegistryType::Binary, {0, 0, 0, 0, 0, 0, 0, 0, 0}};
    key.PutDword("RuleStates", stored);
    auto task = MakeFieldTask(10, 10);
    SharedSettingValues shared;
    LoadSettingsFrom(key, *task, shared);
    const bool usable = stored >= 2 && stored <= 256;
    EXPECT_EQ(task->RuleStates, static_cast<int32_t>(stored));
    EXPECT_EQ(task->EffectiveRuleStates(), usable ? static_cast<int32_t>(stored) : 2) << stored;
    EXPECT_EQ(task->RuleBorn[2], 1);
    EXPECT_EQ(task->RuleSurvive[3], 0);
    EXPECT_EQ(key.Dword("RuleStates"), stored);
    SaveSettingsTo(key, *task, shared);
    EXPECT_EQ(key.Dword("RuleStates"), usable ? stored : 2u);
  }
}

TEST(SettingsSave, WritesEveryValueInSaveOrderWithSavedTypes) {
  MemoryKey key;
  auto task = MakeFieldTask(10, 10);
  SharedSettingValues shared;
  LoadSettingsFrom(key, *task, shared);
  key.written.clear();
  task->ResetPeriod = 250;
  task->DieStep = 0.25f;
  task->Monitors = 1;
  task->RuleStates = 3;
  task->OnBattery = 2;
  task->MouseTolerance = 32;
  task->ShowClock = true;
  task->SmoothGenerations = true;
  shared.ShowAdvancedCFG = 1;
  SaveSettingsTo(key, *task, shared);
  EXPECT_EQ(key.written, Names(SaveOrder()));
  const std::vector<std::string> saveOrder = {"ShowAdvancedCFG", "VSyncOn",     "ShowFPS",       "ShowStat",
                                              "RuleBorn",        "RuleSurvive", "DieSlowly",     "DieStep",
                                              "PeriodicResetOn", "ResetPeriod", "ResetMode",     "AutoReset",
                                              "FieldDrawMode",   "CellSize",    "LifeSpeed",     "BkColor",
                                              "Monitors",        "RuleStates",  "PatternName",   "PatternFile",
                                              "SmoothGenerations", "OnBattery",  "MouseTolerance", "ShowClock"};
  EXPECT_EQ(key.written, saveOrder);
  EXPECT_EQ(key.written.front(), "ShowAdvancedCFG");
  EXPECT_EQ(key.written[16], "Monitors");
  EXPECT_EQ(key.Dword("ResetPeriod"), 250u);
  EXPECT_EQ(key.Dword("ShowAdvancedCFG"), 1u);
  EXPECT_EQ(key.values["DieStep"].type, RegistryType::Binary);
  EXPECT_EQ(AsFloat(key.Dword("DieStep")), 0.25f);

  auto reloaded = MakeFieldTask(10, 10);
  SharedSettingValues sharedAgain;
  LoadSettingsFrom(key, *reloaded, sharedAgain);
  EXPECT_EQ(reloaded->ResetPeriod, 250u);
  EXPECT_EQ(reloaded->DieStep, 0.25f);
  EXPECT_EQ(reloaded->EffectiveMonitors(), 1);
  EXPECT_EQ(reloaded->RuleStates, 3);
  EXPECT_EQ(reloaded->OnBattery, 2u);
  EXPECT_EQ(reloaded->MouseTolerance, 32u);
  EXPECT_TRUE(reloaded->ShowClock);
  EXPECT_TRUE(reloaded->SmoothGenerations);
  EXPECT_EQ(sharedAgain.ShowAdvancedCFG, 1u);
}

// Little-endian UTF-16, terminated unless told otherwise.
std::vector<uint8_t> Utf16(std::u16string text, bool terminated = true) {
  if (terminated) text += u'\0';
  std::vector<uint8_t> data;
  for (char16_t u : text) {
    data.push_back(static_cast<uint8_t>(u & 0xFF));
    data.push_back(static_cast<uint8_t>(u >> 8));
  }
  return data;
}

TEST(SettingsText, PatternRowsGoThroughTheRegistryAsUtf16AndBack) {
  MemoryKey key;
  auto task = MakeFieldTask(10, 10);
  SharedSettingValues shared;
  LoadSettingsFrom(key, *task, shared);
  // A name no gallery has and a file that is not there: both kept as given.
  const std::string name = "Glider gun \xC3\xBC";             // u with diaeresis
  const std::string file = "C:\\\xD0\x96\\r\xF0\x9F\x98\x80.rle";  // a Cyrillic letter, an emoji
  task->SetPatternChoice(name, file, nullptr);
  SaveSettingsTo(key, *task, shared);
  EXPECT_EQ(key.values["PatternName"].type, RegistryType::Text);
  EXPECT_EQ(key.values["PatternName"].data, Utf16(u"Glider gun \u00FC"));
  EXPECT_EQ(key.values["PatternFile"].data, Utf16(u"C:\\\u0416\\r\U0001F600.rle"));

  key.written.clear();
  auto reloaded = MakeFieldTask(10, 10);
  LoadSettingsFrom(key, *reloaded, shared);
  EXPECT_EQ(reloaded->PatternName, name);
  EXPECT_EQ(reloaded->PatternFile, file);
  EXPECT_TRUE(key.written.empty());  // the unreadable file keeps its value
}

TEST(SettingsText, OddDataIsRefusedAndTheEmptyDefaultWrittenBack) {
  const std::vector<std::pair<RegistryType, std::vector<uint8_t>>> odd = {
      {RegistryType::Binary, Utf16(u"Glider")},  // another type
      {RegistryType::Dword, {1, 0, 0, 0}},
      {RegistryType::Text, Utf16(u"Glider", false)},  // no terminator
      {RegistryType::Text, {'G', 0, 0}},  // an odd length
      {RegistryType::Text, Utf16(std::u16string(u"Gli\0der", 7))},  // a terminator inside
      {RegistryType::Text, Utf16(u"x\xD800y")},  // a lone surrogate
      {RegistryType::Text, Utf16(std::u16string(40000, u'a'))},  // longer than a path
      {RegistryType::Text, {}},
  };
  for (size_t k = 0; k < odd.size(); ++k) {
    MemoryKey key;
    key.values["PatternName"] = StoredValue{odd[k].first, odd[k].second};
    auto task = MakeFieldTask(10, 10);
    task->PatternName = "before";
    SharedSettingValues shared;
    LoadSettingsFrom(key, *task, shared);
    EXPECT_EQ(task->PatternName, "") << k;
    EXPECT_EQ(key.values["PatternName"].type, RegistryType::Text) << k;
    EXPECT_EQ(key.values["PatternName"].data, (std::vector<uint8_t>{0, 0})) << k;
  }
  std::string text;
  EXPECT_TRUE(TextFromRegistryData(RegistryType::Text, Utf16(u"\U0001F600"), text));
  EXPECT_EQ(text, "\xF0\x9F\x98\x80");
  // Bytes that are not UTF-8 are saved as U+FFFD rather than lost.
  EXPECT_EQ(RegistryDataOfText("a\xFF\xC3"), Utf16(u"a\uFFFD\uFFFD"));
}

}  // namespace
