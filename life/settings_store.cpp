#include "life/settings_store.h"

#include <cmath>
#include <cstring>
#include <mutex>

#include "engine/core/byte_order.h"
#include "life/vivarn_task.h"

namespace {

// The registry holds a DWORD's bytes little-endian.
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
float DefaultFloat(SettingId id) { return ReadFloat(Setting(id).defaultBytes.data()); }

}  // namespace

void StoreSetting(SettingId id, const uint8_t bytes[16], VivarnTaskBse& task, SharedSettingValues& shared) {
  std::lock_guard<std::recursive_mutex> guard(task.lock);
  const uint32_t number = ReadU32(bytes);
  switch (id) {
    case SettingId::ShowAdvancedCFG: shared.ShowAdvancedCFG = number; break;
    case SettingId::VSyncOn: shared.VSyncOn = number; break;
    // Only the value 1 means on.
    case SettingId::ShowFPS: task.ShowFPS = number == 1; break;
    case SettingId::ShowStat: task.ShowStat = number == 1; break;
    case SettingId::PeriodicResetOn: task.PeriodicResetOn = number == 1; break;
    case SettingId::AutoReset: task.AutoReset = number == 1; break;
    case SettingId::DieSlowly: task.DieSlowly = number == 1; break;
    case SettingId::ResetPeriod: task.ResetPeriod = number; break;
    // Outside 0..2 reseeding fills the whole field (EffectiveResetMode); the
    // stored number stays.
    case SettingId::ResetMode: task.ResetMode = static_cast<int32_t>(number); break;
    // Below 1 the field uses 10 (EffectiveCellSize); the stored number stays.
    case SettingId::CellSize: task.CellSize = static_cast<int32_t>(number); break;
    case SettingId::RuleBorn:
      for (int k = 0; k < 9; ++k) task.RuleBorn[k] = bytes[k] != 0 ? 1 : 0;
      break;
    case SettingId::RuleSurvive:
      for (int k = 0; k < 9; ++k) task.RuleSurvive[k] = bytes[k] != 0 ? 1 : 0;
      break;
    case SettingId::DieStep: {
      // A factor above 1 would grow dying cells without bound, a NaN would
      // never fade; both would break the colour lookup.
      const float step = ReadFloat(bytes);
      task.DieStep = step >= 0.001f && step <= 1.0f ? step : DefaultFloat(SettingId::DieStep);
      break;
    }
    case SettingId::FieldDrawMode:
      task.FieldDrawMode = number == 1 ? 1 : 0;
      task.BuildGeometry(task.columns, task.rows);
      break;
    case SettingId::LifeSpeed: {
      // A NaN or infinite speed is taken as 0. A finite one stays as stored;
      // the generations use it held to 0..1000 ms (EffectiveLifeSpeed).
      const float speed = ReadFloat(bytes);
      task.LifeSpeed = std::isfinite(speed) ? speed : 0.0f;
      break;
    }
    case SettingId::BkColor:
      task.SetBkColor(ReadFloat(bytes), ReadFloat(bytes + 4), ReadFloat(bytes + 8), ReadFloat(bytes + 12));
      break;
  }
}

void SettingBytes(SettingId id, const VivarnTaskBse& task, const SharedSettingValues& shared, uint8_t out[16]) {
  std::memset(out, 0, 16);
  switch (id) {
    case SettingId::ShowAdvancedCFG: WriteU32(out, shared.ShowAdvancedCFG); break;
    case SettingId::VSyncOn: WriteU32(out, shared.VSyncOn); break;
    case SettingId::ShowFPS: WriteU32(out, task.ShowFPS ? 1 : 0); break;
    case SettingId::ShowStat: WriteU32(out, task.ShowStat ? 1 : 0); break;
    case SettingId::PeriodicResetOn: WriteU32(out, task.PeriodicResetOn ? 1 : 0); break;
    case SettingId::AutoReset: WriteU32(out, task.AutoReset ? 1 : 0); break;
    case SettingId::DieSlowly: WriteU32(out, task.DieSlowly ? 1 : 0); break;
    case SettingId::ResetPeriod: WriteU32(out, task.ResetPeriod); break;
    // The pages show the pattern and speed in effect, so saving from them
    // writes those rather than a stored number no control can produce.
    case SettingId::ResetMode: WriteU32(out, static_cast<uint32_t>(task.EffectiveResetMode())); break;
    case SettingId::CellSize: WriteU32(out, static_cast<uint32_t>(task.CellSize)); break;
    case SettingId::RuleBorn: std::memcpy(out, task.RuleBorn, 9); break;
    case SettingId::RuleSurvive: std::memcpy(out, task.RuleSurvive, 9); break;
    case SettingId::DieStep: WriteFloat(out, task.DieStep); break;
    case SettingId::FieldDrawMode: WriteU32(out, static_cast<uint32_t>(task.FieldDrawMode)); break;
    case SettingId::LifeSpeed: WriteFloat(out, task.EffectiveLifeSpeed()); break;
    case SettingId::BkColor:
      for (int c = 0; c < 4; ++c) WriteFloat(out + 4 * c, task.BkColor[c]);
      break;
  }
}

void LoadSettingsFrom(ISettingsKey& key, VivarnTaskBse& task, SharedSettingValues& shared) {
  for (SettingId id : LoadOrder()) {
    const SettingEntry& entry = Setting(id);
    uint8_t buffer[16];
    std::memcpy(buffer, entry.defaultBytes.data(), sizeof buffer);
    uint32_t read = 0;
    if (!key.Query(entry.name, buffer, entry.size, read)) {
      std::memcpy(buffer, entry.defaultBytes.data(), sizeof buffer);
      key.Write(entry.name, entry.defaultType, buffer, entry.size);
    }
    StoreSetting(id, buffer, task, shared);
  }
}

void SaveSettingsTo(ISettingsKey& key, const VivarnTaskBse& task, const SharedSettingValues& shared) {
  for (SettingId id : SaveOrder()) {
    const SettingEntry& entry = Setting(id);
    uint8_t bytes[16];
    SettingBytes(id, task, shared, bytes);
    key.Write(entry.name, entry.savedType, bytes, entry.size);
  }
}

SharedSettingValues& ProcessSharedSettings() {
  static SharedSettingValues values;
  return values;
}
