// The sixteen values under the settings key: one table of name, registry
// type, size and default that drives loading, writing defaults back, saving
// and the tests. Portable: the registry itself is behind ISettingsKey.
#pragma once

#include <array>
#include <cstdint>

// The registry's own type numbers.
enum class RegistryType : uint32_t { Binary = 3, Dword = 4 };

enum class SettingId {
  ShowAdvancedCFG,
  VSyncOn,
  ShowFPS,
  ShowStat,
  PeriodicResetOn,
  ResetPeriod,
  ResetMode,
  CellSize,
  AutoReset,
  RuleBorn,
  RuleSurvive,
  DieSlowly,
  DieStep,
  FieldDrawMode,
  LifeSpeed,
  BkColor,
};
constexpr int kSettingCount = 16;

struct SettingEntry {
  SettingId id;
  const char* name;
  RegistryType defaultType;  // the type a missing value is written back with
  RegistryType savedType;    // the type the saver writes
  uint32_t size;             // 4, 9 or 16 bytes
  std::array<uint8_t, 16> defaultBytes;
};

const SettingEntry& Setting(SettingId id);
// The loader's and the saver's orders (the two differ).
const std::array<SettingId, kSettingCount>& LoadOrder();
const std::array<SettingId, kSettingCount>& SaveOrder();
