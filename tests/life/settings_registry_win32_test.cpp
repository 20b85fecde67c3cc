// The settings loader and saver on the real registry (run under wine in a
// private prefix, so the key starts absent). Each test deletes the key first.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/task_engine_link_win32.h"
#include "engine/core/singleton.h"
#include "engine/gl/gl_window_settings.h"
#include "life/settings_store.h"
#include "tests/life/life_test_support.h"
#include "palette/palette_container.h"

namespace {

constexpr wchar_t kKeyPath[] = L"SOFTWARE\\Vivarn Screen Saver 2\\Settings";

struct RawValue {
  bool present = false;
  DWORD type = 0;
  std::vector<uint8_t> data;
};

RawValue ReadRaw(const wchar_t* name) {
  RawValue value;
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
  uint8_t buffer[64];
  DWORD size = sizeof buffer;
  if (RegQueryValueExW(key, name, nullptr, &value.type, buffer, &size) == ERROR_SUCCESS) {
    value.present = true;
    value.data.assign(buffer, buffer + size);
  }
  RegCloseKey(key);
  return value;
}

void WriteRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  RegCloseKey(key);
}

uint32_t AsDword(const RawValue& v) {
  uint32_t n = 0;
  std::memcpy(&n, v.data.data(), 4);
  return n;
}

// What the registry tool prints for the key (wine's reg.exe).
std::string RegQueryOutput() {
  std::string text;
  FILE* pipe = _popen("reg query \"HKCU\\SOFTWARE\\Vivarn Screen Saver 2\\Settings\"", "r");
  if (!pipe) return text;
  char line[512];
  while (std::fgets(line, sizeof line, pipe)) text += line;
  _pclose(pipe);
  return text;
}

// Values under the palette store's key (0 when it is missing).
DWORD PaletteValueCount() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Vivarn Screen Saver 2\\Settings\\Palette", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return 0;
  DWORD values = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(key);
  return values;
}

class SettingsRegistry : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKeyPath); }
};

TEST_F(SettingsRegistry, FirstRunWritesEveryDefaultWithItsType) {
  ASSERT_FALSE(ReadRaw(L"CellSize").present);
  EXPECT_EQ(LoadSettings(), 1);

  struct Expected {
    const wchar_t* name;
    DWORD type;
    std::vector<uint8_t> data;
  };
  const float bk[4] = {0.0f, 0.0f, 0.3f, 1.0f};
  std::vector<uint8_t> bkBytes(16);
  std::memcpy(bkBytes.data(), bk, 16);
  const std::vector<Expected> expected = {
      {L"ShowAdvancedCFG", REG_DWORD, {0, 0, 0, 0}},  {L"VSyncOn", REG_DWORD, {0, 0, 0, 0}},
      {L"ShowFPS", REG_DWORD, {0, 0, 0, 0}},          {L"ShowStat", REG_DWORD, {0, 0, 0, 0}},
      {L"PeriodicResetOn", REG_DWORD, {0, 0, 0, 0}},  {L"ResetPeriod", REG_DWORD, {0xE8, 0x03, 0, 0}},
      {L"ResetMode", REG_DWORD, {0, 0, 0, 0}},        {L"CellSize", REG_DWORD, {10, 0, 0, 0}},
      {L"AutoReset", REG_DWORD, {1, 0, 0, 0}},        {L"RuleBorn", REG_BINARY, {0, 0, 0, 1, 0, 0, 0, 0, 0}},
      {L"RuleSurvive", REG_BINARY, {0, 0, 1, 1, 0, 0, 0, 0, 0}},
      {L"DieSlowly", REG_DWORD, {1, 0, 0, 0}},        {L"DieStep", REG_DWORD, {0x66, 0x66, 0x66, 0x3F}},
      {L"FieldDrawMode", REG_DWORD, {0, 0, 0, 0}},    {L"LifeSpeed", REG_BINARY, {0, 0, 0, 0}},
      {L"BkColor", REG_BINARY, bkBytes},               {L"Monitors", REG_DWORD, {0, 0, 0, 0}},
      {L"RuleStates", REG_DWORD, {2, 0, 0, 0}},
      {L"PatternName", REG_SZ, {0, 0}},                {L"PatternFile", REG_SZ, {0, 0}},
      {L"OnBattery", REG_DWORD, {1, 0, 0, 0}},
      {L"MouseTolerance", REG_DWORD, {0, 0, 0, 0}},   {L"ShowClock", REG_DWORD, {0, 0, 0, 0}},
      {L"SmoothGenerations", REG_DWORD, {0, 0, 0, 0}},
  };
  for (const Expected& e : expected) {
    const RawValue v = ReadRaw(e.name);
    ASSERT_TRUE(v.present) << std::string(e.name, e.name + wcslen(e.name));
    EXPECT_EQ(v.type, e.type) << std::string(e.name, e.name + wcslen(e.name));
    EXPECT_EQ(v.data, e.data) << std::string(e.name, e.name + wcslen(e.name));
  }

  // The same as the registry tool reports it.
  const std::string listing = RegQueryOutput();
  EXPECT_NE(listing.find("DieStep    REG_DWORD    0x3f666666"), std::string::npos) << listing;
  EXPECT_NE(listing.find("CellSize    REG_DWORD    0xa"), std::string::npos) << listing;
  EXPECT_NE(listing.find("RuleBorn    REG_BINARY    000000010000000000"), std::string::npos) << listing;
  EXPECT_NE(listing.find("BkColor    REG_BINARY    00000000000000009A99993E0000803F"), std::string::npos) << listing;
}

TEST_F(SettingsRegistry, ShowFpsOfTwoLoadsAsOff) {
  const DWORD two = 2;
  WriteRaw(L"ShowFPS", REG_DWORD, &two, 4);
  LoadSettings();
  EXPECT_FALSE(VivarnTask::Instance()->ShowFPS);
  const DWORD one = 1;
  WriteRaw(L"ShowFPS", REG_DWORD, &one, 4);
  LoadSettings();
  EXPECT_TRUE(VivarnTask::Instance()->ShowFPS);
}

TEST_F(SettingsRegistry, TenByteRuleBornIsReplaced) {
  const uint8_t tooLong[10] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  WriteRaw(L"RuleBorn", REG_BINARY, tooLong, 10);
  LoadSettings();
  const RawValue v = ReadRaw(L"RuleBorn");
  EXPECT_EQ(v.type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(v.data, (std::vector<uint8_t>{0, 0, 0, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(VivarnTask::Instance()->RuleBorn[0], 0);
  EXPECT_EQ(VivarnTask::Instance()->RuleBorn[3], 1);
}

TEST_F(SettingsRegistry, BinaryDieStepLoadsLikeTheDword) {
  const float half = 0.5f;
  WriteRaw(L"DieStep", REG_DWORD, &half, 4);
  LoadSettings();
  EXPECT_EQ(VivarnTask::Instance()->DieStep, 0.5f);
  VivarnTask::Instance()->DieStep = 0.9f;
  WriteRaw(L"DieStep", REG_BINARY, &half, 4);
  LoadSettings();
  EXPECT_EQ(VivarnTask::Instance()->DieStep, 0.5f);
  EXPECT_EQ(ReadRaw(L"DieStep").type, static_cast<DWORD>(REG_BINARY));  // read, not rewritten
}

TEST_F(SettingsRegistry, SaveAfterChangingResetPeriodStoresIt) {
  LoadSettings();
  {
    VivarnTask task = VivarnTask::Instance();
    std::lock_guard<std::recursive_mutex> guard(task->lock);
    task->ResetPeriod = 250;
  }
  EXPECT_EQ(SaveSettings(), 1);
  EXPECT_EQ(AsDword(ReadRaw(L"ResetPeriod")), 250u);
  const RawValue dieStep = ReadRaw(L"DieStep");
  EXPECT_EQ(dieStep.type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(dieStep.data, (std::vector<uint8_t>{0x66, 0x66, 0x66, 0x3F}));

  VivarnTask::Instance()->ResetPeriod = 1;
  LoadSettings();
  EXPECT_EQ(VivarnTask::Instance()->ResetPeriod, 250u);
}

TEST_F(SettingsRegistry, MonitorsOutsideZeroAndOneSpansAndIsSavedAsZero) {
  const DWORD primaryOnly = 1;
  WriteRaw(L"Monitors", REG_DWORD, &primaryOnly, 4);
  LoadSettings();
  EXPECT_EQ(VivarnTask::Instance()->EffectiveMonitors(), 1);
  const DWORD odd = 7;
  WriteRaw(L"Monitors", REG_DWORD, &odd, 4);
  LoadSettings();
  EXPECT_EQ(VivarnTask::Instance()->EffectiveMonitors(), 0);
  SaveSettings();
  EXPECT_EQ(AsDword(ReadRaw(L"Monitors")), 0u);
}

TEST_F(SettingsRegistry, VerticalSyncGoesToTheWindowSettingsAndBack) {
  ReleaseSingletons();
  const DWORD on = 1;
  WriteRaw(L"VSyncOn", REG_DWORD, &on, sizeof on);
  LoadSettings();
  ConnectTaskToEngine();
  EXPECT_EQ(GLWindowSettings::Instance()->swapInterval, 1);

  // The Video page's way: through the task, which asks the window.
  VivarnTask::Instance()->SetVSyncOn(0);
  EXPECT_EQ(GLWindowSettings::Instance()->swapInterval, 0);
  SaveSettings();
  EXPECT_EQ(AsDword(ReadRaw(L"VSyncOn")), 0u);
  ReleaseSingletons();
}

TEST_F(SettingsRegistry, LoadTakesTheColourTableFromTheCurrentPaletteAndSaveStoresTheStore) {
  ReleaseSingletons();
  LoadSettings();
  CPaletteContainerBase& palettes = *CPaletteContainer::Instance();
  // A first run: the store guarantees its "Default" palette and makes it current.
  const PaletteRecord* current = palettes.FindByGuid(palettes.currentGuid);
  ASSERT_NE(current, nullptr);
  std::vector<uint8_t> bgr(1000 * 3);
  current->gradient.FillColourTable(bgr.data(), 1000);
  VivarnTaskBse& task = *VivarnTask::Instance();
  ASSERT_EQ(Mesh(task).paletteSize, 1000);
  for (int i : {0, 1, 333, 999}) {
    EXPECT_EQ(Mesh(task).paletteColours[static_cast<size_t>(i)].r, bgr[i * 3 + 2]) << i;
    EXPECT_EQ(Mesh(task).paletteColours[static_cast<size_t>(i)].g, bgr[i * 3 + 1]) << i;
    EXPECT_EQ(Mesh(task).paletteColours[static_cast<size_t>(i)].b, bgr[i * 3 + 0]) << i;
  }

  // A first run's store is written as soon as it is made (Default, the
  // starter set and the current-palette value); saving writes it again.
  const DWORD firstRun = PaletteValueCount();
  EXPECT_EQ(firstRun, static_cast<DWORD>(palettes.Count() + 1));
  EXPECT_GT(palettes.Count(), 1);
  EXPECT_EQ(SaveSettings(), 1);
  EXPECT_EQ(PaletteValueCount(), firstRun);
  ReleaseSingletons();
}

TEST_F(SettingsRegistry, PatternTextsAreUtf16InTheRegistryAndOddDataIsReplaced) {
  const wchar_t path[] = L"C:\\\u0416\\gun.rle";
  WriteRaw(L"PatternFile", REG_SZ, path, sizeof path);
  WriteRaw(L"PatternName", REG_BINARY, L"Glider", 14);  // text, but not of the text type
  EXPECT_EQ(LoadSettings(), 1);
  VivarnTask task = VivarnTask::Instance();
  EXPECT_EQ(task->PatternFile, "C:\\\xD0\x96\\gun.rle");
  EXPECT_EQ(task->PatternName, "");
  EXPECT_EQ(ReadRaw(L"PatternName").type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(ReadRaw(L"PatternName").data, (std::vector<uint8_t>{0, 0}));
  EXPECT_EQ(SaveSettings(), 1);
  const RawValue saved = ReadRaw(L"PatternFile");
  EXPECT_EQ(saved.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(saved.data, std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(path),
                                             reinterpret_cast<const uint8_t*>(path) + sizeof path));
  task->SetPatternChoice("", "", nullptr);
}

}  // namespace
