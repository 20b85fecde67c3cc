// The twenty values under the settings key, each defined once: one row of
// name, registry types, size, default, place in the saver's order, and how
// the value goes between its stored bytes and the task (or the values shared
// with other parts of the program). The loader and the saver only walk the
// rows. Portable: the registry itself is behind ISettingsKey.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class VivarnTaskBse;
struct SharedSettingValues;

// The registry's own type numbers.
enum class RegistryType : uint32_t { Text = 1, Binary = 3, Dword = 4 };

struct SettingEntry {
  const char* name;
  RegistryType defaultType;  // the type a missing value is written back with
  RegistryType savedType;    // the type the saver writes
  uint32_t size;             // 4, 9 or 16 bytes; 0 for text
  std::array<uint8_t, 16> defaultBytes;
  int savePosition;          // 0 for the first value the saver writes
  // False for stored data the field must never see; the loader then uses the
  // default (without writing it back). Null when every value is accepted.
  bool (*usable)(const uint8_t bytes[16]);
  // Stores the value's bytes through the task's setters (or into `shared`).
  void (*store)(const uint8_t bytes[16], VivarnTaskBse& task, SharedSettingValues& shared);
  // Writes the first `size` bytes: the value's stored form as the task and
  // `shared` hold it now.
  void (*bytesOf)(const VivarnTaskBse& task, const SharedSettingValues& shared, uint8_t out[16]);
  // Text rows (both types Text) use these two instead of the four above: the
  // value as UTF-8, its default empty. The store turns it into the registry's
  // UTF-16 and back.
  void (*storeText)(const std::string& text, VivarnTaskBse& task) = nullptr;
  std::string (*textOf)(const VivarnTaskBse& task) = nullptr;
};

// Every row, in the loader's order.
const std::vector<const SettingEntry*>& LoadOrder();
// Every row, in the saver's order (by savePosition).
const std::vector<const SettingEntry*>& SaveOrder();
