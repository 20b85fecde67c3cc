#include "life/settings_store.h"

#include <cstring>
#include <mutex>

#include "life/vivarn_task.h"

void LoadSettingsFrom(ISettingsKey& key, VivarnTaskBse& task, SharedSettingValues& shared) {
  for (const SettingEntry* entry : LoadOrder()) {
    uint8_t buffer[16];
    std::memcpy(buffer, entry->defaultBytes.data(), sizeof buffer);
    uint32_t read = 0;
    if (!key.Query(entry->name, buffer, entry->size, read)) {
      std::memcpy(buffer, entry->defaultBytes.data(), sizeof buffer);
      key.Write(entry->name, entry->defaultType, buffer, entry->size);
    } else if (entry->usable != nullptr && !entry->usable(buffer)) {
      std::memcpy(buffer, entry->defaultBytes.data(), sizeof buffer);
    }
    // One value at a time is whole to the field: a rule's nine flags or the
    // four colour channels do not show half-stored.
    std::lock_guard<std::recursive_mutex> guard(task.lock);
    entry->store(buffer, task, shared);
  }
}

void SaveSettingsTo(ISettingsKey& key, const VivarnTaskBse& task, const SharedSettingValues& shared) {
  for (const SettingEntry* entry : SaveOrder()) {
    uint8_t bytes[16] = {};
    {
      std::lock_guard<std::recursive_mutex> guard(task.lock);
      entry->bytesOf(task, shared, bytes);
    }
    key.Write(entry->name, entry->savedType, bytes, entry->size);
  }
}

SharedSettingValues& ProcessSharedSettings() {
  static SharedSettingValues values;
  return values;
}
