#include "life/settings_table.h"

#include <cstddef>

#include "engine/core/byte_order.h"

namespace {

constexpr std::array<uint8_t, 16> Dword(uint32_t v) {
  std::array<uint8_t, 16> bytes{};
  byte_order::WriteLE32(bytes.data(), v);
  return bytes;
}

// Float defaults as their little-endian IEEE single bytes.
constexpr uint32_t kBits0_9 = 0x3F666666u;  // 0.9f
constexpr uint32_t kBits0_3 = 0x3E99999Au;  // 0.3f
constexpr uint32_t kBits1_0 = 0x3F800000u;  // 1.0f

constexpr std::array<uint8_t, 16> BkColorDefault() {
  std::array<uint8_t, 16> bytes{};
  const uint32_t words[4] = {0u, 0u, kBits0_3, kBits1_0};
  for (int w = 0; w < 4; ++w) byte_order::WriteLE32(bytes.data() + w * 4, words[w]);
  return bytes;
}

constexpr RegistryType kDword = RegistryType::Dword;
constexpr RegistryType kBinary = RegistryType::Binary;

// Indexed by SettingId.
const std::array<SettingEntry, kSettingCount> kSettings = {{
    {SettingId::ShowAdvancedCFG, "ShowAdvancedCFG", kDword, kDword, 4, Dword(0)},
    {SettingId::VSyncOn, "VSyncOn", kDword, kDword, 4, Dword(0)},
    {SettingId::ShowFPS, "ShowFPS", kDword, kDword, 4, Dword(0)},
    {SettingId::ShowStat, "ShowStat", kDword, kDword, 4, Dword(0)},
    {SettingId::PeriodicResetOn, "PeriodicResetOn", kDword, kDword, 4, Dword(0)},
    {SettingId::ResetPeriod, "ResetPeriod", kDword, kDword, 4, Dword(1000)},
    {SettingId::ResetMode, "ResetMode", kDword, kDword, 4, Dword(0)},
    {SettingId::CellSize, "CellSize", kDword, kDword, 4, Dword(10)},
    {SettingId::AutoReset, "AutoReset", kDword, kDword, 4, Dword(1)},
    {SettingId::RuleBorn, "RuleBorn", kBinary, kBinary, 9, {0, 0, 0, 1, 0, 0, 0, 0, 0}},
    {SettingId::RuleSurvive, "RuleSurvive", kBinary, kBinary, 9, {0, 0, 1, 1, 0, 0, 0, 0, 0}},
    {SettingId::DieSlowly, "DieSlowly", kDword, kDword, 4, Dword(1)},
    // Written back as a DWORD holding the float's bits, saved as binary.
    {SettingId::DieStep, "DieStep", kDword, kBinary, 4, Dword(kBits0_9)},
    {SettingId::FieldDrawMode, "FieldDrawMode", kDword, kDword, 4, Dword(0)},
    {SettingId::LifeSpeed, "LifeSpeed", kBinary, kBinary, 4, Dword(0)},
    {SettingId::BkColor, "BkColor", kBinary, kBinary, 16, BkColorDefault()},
}};

const std::array<SettingId, kSettingCount> kLoadOrder = {
    SettingId::ShowAdvancedCFG, SettingId::ShowFPS,   SettingId::ShowStat,      SettingId::VSyncOn,
    SettingId::PeriodicResetOn, SettingId::ResetPeriod, SettingId::ResetMode,   SettingId::CellSize,
    SettingId::AutoReset,       SettingId::RuleBorn,  SettingId::RuleSurvive,   SettingId::DieSlowly,
    SettingId::DieStep,         SettingId::FieldDrawMode, SettingId::LifeSpeed, SettingId::BkColor,
};

const std::array<SettingId, kSettingCount> kSaveOrder = {
    SettingId::ShowAdvancedCFG, SettingId::VSyncOn,     SettingId::ShowFPS,   SettingId::ShowStat,
    SettingId::RuleBorn,        SettingId::RuleSurvive, SettingId::DieSlowly, SettingId::DieStep,
    SettingId::PeriodicResetOn, SettingId::ResetPeriod, SettingId::ResetMode, SettingId::AutoReset,
    SettingId::FieldDrawMode,   SettingId::CellSize,    SettingId::LifeSpeed, SettingId::BkColor,
};

}  // namespace

const SettingEntry& Setting(SettingId id) { return kSettings[static_cast<size_t>(id)]; }
const std::array<SettingId, kSettingCount>& LoadOrder() { return kLoadOrder; }
const std::array<SettingId, kSettingCount>& SaveOrder() { return kSaveOrder; }
