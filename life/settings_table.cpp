#include "life/settings_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/core/byte_order.h"
#include "life/settings_store.h"
#include "life/vivarn_task.h"

namespace {

// --- Stored forms: little-endian DWORDs and IEEE singles ---

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

uint32_t ReadU32(const uint8_t* b) { return byte_order::ReadLE32(b); }
void WriteU32(uint8_t* b, uint32_t v) { byte_order::WriteLE32(b, v); }
float ReadFloat(const uint8_t* b) {
  const uint32_t bits = ReadU32(b);
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}
void WriteFloat(uint8_t* b, float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  WriteU32(b, bits);
}
// Only the value 1 means on; on is saved as 1.
bool ReadFlag(const uint8_t* b) { return ReadU32(b) == 1; }
void WriteFlag(uint8_t* b, bool on) { WriteU32(b, on ? 1 : 0); }

constexpr RegistryType kDword = RegistryType::Dword;
constexpr RegistryType kBinary = RegistryType::Binary;
constexpr RegistryType kText = RegistryType::Text;

using Task = VivarnTaskBse;
using Shared = SharedSettingValues;

// One row per value, in the loader's order; the number after the default is
// the value's place in the saver's order. A row's store and read go through
// the same task member, so a value read back is the value stored.
const SettingEntry kSettings[] = {
    {"ShowAdvancedCFG", kDword, kDword, 4, Dword(0), 0, nullptr,
     [](const uint8_t* in, Task&, Shared& shared) { shared.ShowAdvancedCFG = ReadU32(in); },
     [](const Task&, const Shared& shared, uint8_t* out) { WriteU32(out, shared.ShowAdvancedCFG); }},
    {"ShowFPS", kDword, kDword, 4, Dword(0), 2, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetShowFPS(ReadFlag(in)); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteFlag(out, task.ShowFPS); }},
    {"ShowStat", kDword, kDword, 4, Dword(0), 3, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetShowStat(ReadFlag(in)); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteFlag(out, task.ShowStat); }},
    {"VSyncOn", kDword, kDword, 4, Dword(0), 1, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetVSyncOn(ReadU32(in)); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteU32(out, task.VSyncOn); }},
    {"PeriodicResetOn", kDword, kDword, 4, Dword(0), 8, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetPeriodicResetOn(ReadFlag(in)); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteFlag(out, task.PeriodicResetOn); }},
    {"ResetPeriod", kDword, kDword, 4, Dword(1000), 9, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetResetPeriod(ReadU32(in)); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteU32(out, task.ResetPeriod); }},
    // The pages show the pattern, speed and fading in effect, so saving from
    // them writes those rather than a stored number no control can produce.
    {"ResetMode", kDword, kDword, 4, Dword(0), 10, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetResetMode(static_cast<int32_t>(ReadU32(in))); },
     [](const Task& task, const Shared&, uint8_t* out) {
       WriteU32(out, static_cast<uint32_t>(task.EffectiveResetMode()));
     }},
    {"CellSize", kDword, kDword, 4, Dword(10), 13, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetCellSize(static_cast<int32_t>(ReadU32(in))); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteU32(out, static_cast<uint32_t>(task.CellSize)); }},
    {"AutoReset", kDword, kDword, 4, Dword(1), 11, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetAutoReset(ReadFlag(in)); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteFlag(out, task.AutoReset); }},
    {"RuleBorn", kBinary, kBinary, 9, {0, 0, 0, 1, 0, 0, 0, 0, 0}, 4, nullptr,
     [](const uint8_t* in, Task& task, Shared&) {
       for (int k = 0; k < 9; ++k) task.SetRuleBorn(k, in[k] != 0);
     },
     [](const Task& task, const Shared&, uint8_t* out) { std::memcpy(out, task.RuleBorn, 9); }},
    {"RuleSurvive", kBinary, kBinary, 9, {0, 0, 1, 1, 0, 0, 0, 0, 0}, 5, nullptr,
     [](const uint8_t* in, Task& task, Shared&) {
       for (int k = 0; k < 9; ++k) task.SetRuleSurvive(k, in[k] != 0);
     },
     [](const Task& task, const Shared&, uint8_t* out) { std::memcpy(out, task.RuleSurvive, 9); }},
    {"DieSlowly", kDword, kDword, 4, Dword(1), 6, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetDieSlowly(ReadFlag(in)); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteFlag(out, task.DieSlowly); }},
    // Written back as a DWORD holding the float's bits, saved as binary. A
    // factor the field would not use takes the default.
    {"DieStep", kDword, kBinary, 4, Dword(kBits0_9), 7,
     [](const uint8_t* in) { return LifeSettings::DieStepUsable(ReadFloat(in)); },
     [](const uint8_t* in, Task& task, Shared&) { task.SetDieStep(ReadFloat(in)); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteFloat(out, task.EffectiveDieStep()); }},
    {"FieldDrawMode", kDword, kDword, 4, Dword(0), 12, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetFieldDrawMode(static_cast<int32_t>(ReadU32(in))); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteU32(out, static_cast<uint32_t>(task.FieldDrawMode)); }},
    // A NaN or infinite speed takes the default, 0. A finite one stays as
    // stored; the generations use it held to 0..1000 ms.
    {"LifeSpeed", kBinary, kBinary, 4, Dword(0), 14,
     [](const uint8_t* in) { return std::isfinite(ReadFloat(in)); },
     [](const uint8_t* in, Task& task, Shared&) { task.SetLifeSpeed(ReadFloat(in)); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteFloat(out, task.EffectiveLifeSpeed()); }},
    {"BkColor", kBinary, kBinary, 16, BkColorDefault(), 15, nullptr,
     [](const uint8_t* in, Task& task, Shared&) {
       task.SetBkColor(ReadFloat(in), ReadFloat(in + 4), ReadFloat(in + 8), ReadFloat(in + 12));
     },
     [](const Task& task, const Shared&, uint8_t* out) {
       for (int c = 0; c < 4; ++c) WriteFloat(out + 4 * c, task.BkColor[c]);
     }},
    {"Monitors", kDword, kDword, 4, Dword(0), 16, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetMonitors(static_cast<int32_t>(ReadU32(in))); },
     [](const Task& task, const Shared&, uint8_t* out) {
       WriteU32(out, static_cast<uint32_t>(task.EffectiveMonitors()));
     }},
    // Read after the two masks, so it joins the rule they made; the whole
    // rule goes to the task in one setter.
    {"RuleStates", kDword, kDword, 4, Dword(2), 17, nullptr,
     [](const uint8_t* in, Task& task, Shared&) {
       const LifeSettings now = task.Settings();
       task.SetRule(now.RuleBorn, now.RuleSurvive, static_cast<int32_t>(ReadU32(in)));
     },
     [](const Task& task, const Shared&, uint8_t* out) {
       WriteU32(out, static_cast<uint32_t>(task.EffectiveRuleStates()));
     }},
    // The pattern fill mode 4 places: the name first, so that a gallery entry
    // spares reading the file.
    {"PatternName", kText, kText, 0, {}, 18, nullptr, nullptr, nullptr,
     [](const std::string& text, Task& task) { task.SetPatternName(text); },
     [](const Task& task) { return task.PatternName; }},
    {"PatternFile", kText, kText, 0, {}, 19, nullptr, nullptr, nullptr,
     [](const std::string& text, Task& task) { task.SetPatternFile(text); },
     [](const Task& task) { return task.PatternFile; }},
    // Stored as given; the full-screen run applies the range (EffectiveOnBattery).
    {"OnBattery", kDword, kDword, 4, Dword(1), 21, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetOnBattery(ReadU32(in)); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteU32(out, task.OnBattery); }},
    {"MouseTolerance", kDword, kDword, 4, Dword(0), 22, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetMouseTolerance(ReadU32(in)); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteU32(out, task.MouseTolerance); }},
    {"ShowClock", kDword, kDword, 4, Dword(0), 23, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetShowClock(ReadFlag(in)); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteFlag(out, task.ShowClock); }},
    {"SmoothGenerations", kDword, kDword, 4, Dword(0), 20, nullptr,
     [](const uint8_t* in, Task& task, Shared&) { task.SetSmoothGenerations(ReadFlag(in)); },
     [](const Task& task, const Shared&, uint8_t* out) { WriteFlag(out, task.SmoothGenerations); }},
};

std::vector<const SettingEntry*> RowsInTableOrder() {
  std::vector<const SettingEntry*> rows;
  for (const SettingEntry& entry : kSettings) rows.push_back(&entry);
  return rows;
}

std::vector<const SettingEntry*> RowsBySavePosition() {
  std::vector<const SettingEntry*> rows = RowsInTableOrder();
  std::stable_sort(rows.begin(), rows.end(),
                   [](const SettingEntry* a, const SettingEntry* b) { return a->savePosition < b->savePosition; });
  return rows;
}

}  // namespace

const std::vector<const SettingEntry*>& LoadOrder() {
  static const std::vector<const SettingEntry*> rows = RowsInTableOrder();
  return rows;
}

const std::vector<const SettingEntry*>& SaveOrder() {
  static const std::vector<const SettingEntry*> rows = RowsBySavePosition();
  return rows;
}
