// Loading and saving the twenty settings through a registry key. The
// portable part works on ISettingsKey; settings_store_win32.cpp opens the
// real key and adds the palette store.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "life/settings_table.h"

class VivarnTaskBse;

class ISettingsKey {
 public:
  virtual ~ISettingsKey() = default;
  // Reads the value into `buffer` (at most `size` bytes) and sets `read` to
  // the number of bytes stored. False when the value is missing or its data
  // is longer than `size`; the buffer may then hold anything.
  virtual bool Query(const char* name, uint8_t* buffer, uint32_t size, uint32_t& read) = 0;
  // The value's registry type and its data, at most `limit` bytes. False
  // when the value is missing or its data is longer than `limit`.
  virtual bool QueryTyped(const char* name, RegistryType& type, std::vector<uint8_t>& data, uint32_t limit) = 0;
  // Failures are not reported: the settings go on with the values in memory.
  virtual void Write(const char* name, RegistryType type, const uint8_t* data, uint32_t size) = 0;
};

// Text values hold a full path at most: 32767 UTF-16 units and the terminator.
inline constexpr uint32_t kMaxSettingTextBytes = 32768 * 2;

// A text value's registry data (UTF-16, little-endian, terminated) as UTF-8.
// False for anything else: another type, an odd length, no terminator or one
// before the end, a lone surrogate, more than kMaxSettingTextBytes.
bool TextFromRegistryData(RegistryType type, const std::vector<uint8_t>& data, std::string& utf8);
// The registry data of `utf8`, terminated; bytes that are not UTF-8 become
// U+FFFD.
std::vector<uint8_t> RegistryDataOfText(const std::string& utf8);

// The value under the key that belongs to another part of the program:
// whether the configuration sheet shows its advanced pages.
struct SharedSettingValues {
  uint32_t ShowAdvancedCFG = 0;
};

// Reads every value in the loader's order into the task (each store under its
// lock) and `shared`. A value that cannot be read takes its default, which is
// written back at once; data shorter than the value keeps the defaults in the
// bytes it does not cover. Stored data a row finds unusable (a `DieStep`
// outside 0.001..1, a `LifeSpeed` that is not a finite number) takes its
// default without being written back. A text value that is missing or not
// text (see TextFromRegistryData) takes its default, the empty text, which
// is written back.
void LoadSettingsFrom(ISettingsKey& key, VivarnTaskBse& task, SharedSettingValues& shared);

// Writes every value in the saver's order with its saved type.
void SaveSettingsTo(ISettingsKey& key, const VivarnTaskBse& task, const SharedSettingValues& shared);

// The process-wide copy of the shared value: the loader fills it, the
// configuration sheet reads and changes `ShowAdvancedCFG`, the saver writes it.
SharedSettingValues& ProcessSharedSettings();

// The program's loader and saver on the current user's settings key (Win32
// build only). Both return 1, as nothing they meet is reported.
int LoadSettings();
int SaveSettings();
