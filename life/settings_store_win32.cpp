// The Life settings as values of the settings key (kSettingsKeyPath, under
// HKCU), created when missing. The palettes under the same key are the
// palette store's.
#include <windows.h>

#include <string>
#include <vector>

#include "engine/core/scoped_handle_win32.h"
#include "life/settings_store.h"
#include "life/vivarn_task.h"
#include "palette/palette_container.h"
#include "palette/settings_key.h"

namespace {

// Value names are plain ASCII.
std::wstring Wide(const char* name) { return std::wstring(name, name + std::char_traits<char>::length(name)); }

class RegistrySettingsKey : public ISettingsKey {
 public:
  RegistrySettingsKey() {
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &created, nullptr) == ERROR_SUCCESS)
      key.reset(created);  // otherwise every query fails and every write is skipped
  }
  RegistrySettingsKey(const RegistrySettingsKey&) = delete;
  RegistrySettingsKey& operator=(const RegistrySettingsKey&) = delete;

  // The value's registry type is not checked: DieStep is a DWORD when the
  // loader wrote its default and binary once saved.
  bool Query(const char* name, uint8_t* buffer, uint32_t size, uint32_t& read) override {
    if (!key) return false;
    DWORD length = size;
    if (RegQueryValueExW(key.get(), Wide(name).c_str(), nullptr, nullptr, buffer, &length) != ERROR_SUCCESS)
      return false;
    read = length;
    return true;
  }
  bool QueryTyped(const char* name, RegistryType& type, std::vector<uint8_t>& data, uint32_t limit) override {
    if (!key) return false;
    DWORD kind = 0;
    DWORD length = 0;
    const std::wstring wide = Wide(name);
    if (RegQueryValueExW(key.get(), wide.c_str(), nullptr, &kind, nullptr, &length) != ERROR_SUCCESS ||
        length > limit)
      return false;
    data.assign(length, 0);
    if (RegQueryValueExW(key.get(), wide.c_str(), nullptr, &kind, data.data(), &length) != ERROR_SUCCESS ||
        length > data.size())
      return false;
    data.resize(length);  // the value may have shrunk in between
    type = static_cast<RegistryType>(kind);
    return true;
  }
  void Write(const char* name, RegistryType type, const uint8_t* data, uint32_t size) override {
    if (!key) return;
    RegSetValueExW(key.get(), Wide(name).c_str(), 0, static_cast<DWORD>(type), data, size);
  }

 private:
  ScopedRegKey key;
};

}  // namespace

int LoadSettings() {
  VivarnTask task = VivarnTask::Instance();
  {
    RegistrySettingsKey key;
    LoadSettingsFrom(key, *task.get(), ProcessSharedSettings());
  }

  // A store that cannot be read stays empty: the task keeps its table and
  // Start builds the built-in one.
  LockedPaletteStore palettes;
  palettes->Load();
  if (const PaletteRecord* current = palettes->FindByGuid(palettes->currentGuid))
    task->BuildColourTable(&current->gradient);
  return 1;
}

int SaveSettings() {
  VivarnTask task = VivarnTask::Instance();
  {
    RegistrySettingsKey key;
    SaveSettingsTo(key, *task.get(), ProcessSharedSettings());
  }
  LockedPaletteStore()->Save();
  return 1;
}
