#include "life/settings_store.h"

#include <cstring>
#include <mutex>
#include <utility>

#include "life/vivarn_task.h"

namespace {
void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void AppendUtf16(std::vector<uint8_t>& out, uint32_t unit) {
  out.push_back(static_cast<uint8_t>(unit & 0xFF));
  out.push_back(static_cast<uint8_t>(unit >> 8));
}

// One code point from `text` at `i` (moved past it); U+FFFD for a malformed,
// overlong or surrogate sequence, which takes one byte.
uint32_t NextCodePoint(const std::string& text, size_t& i) {
  const auto byte = [&text](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t lead = byte(i);
  int more = 0;
  uint32_t c = 0;
  uint32_t least = 0;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    more = 1, c = lead & 0x1Fu, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    more = 2, c = lead & 0x0Fu, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    more = 3, c = lead & 0x07u, least = 0x10000;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + static_cast<size_t>(more) >= text.size()) {
    ++i;
    return 0xFFFD;
  }
  for (int k = 1; k <= more; ++k) {
    const uint8_t b = byte(i + static_cast<size_t>(k));
    if ((b & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    c = (c << 6) | (b & 0x3Fu);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return 0xFFFD;
  }
  i += static_cast<size_t>(more) + 1;
  return c;
}

void LoadText(ISettingsKey& key, const SettingEntry& entry, VivarnTaskBse& task) {
  RegistryType type = RegistryType::Text;
  std::vector<uint8_t> data;
  std::string text;
  if (!key.QueryTyped(entry.name, type, data, kMaxSettingTextBytes) || !TextFromRegistryData(type, data, text)) {
    text.clear();
    const std::vector<uint8_t> empty = RegistryDataOfText(text);
    key.Write(entry.name, entry.defaultType, empty.data(), static_cast<uint32_t>(empty.size()));
  }
  // Its setter takes the lock itself, after any file it reads.
  entry.storeText(text, task);
}
}  // namespace

bool TextFromRegistryData(RegistryType type, const std::vector<uint8_t>& data, std::string& utf8) {
  if (type != RegistryType::Text || data.size() < 2 || data.size() % 2 != 0 || data.size() > kMaxSettingTextBytes)
    return false;
  const size_t units = data.size() / 2;
  const auto unit = [&data](size_t k) { return static_cast<uint32_t>(data[2 * k] | (data[2 * k + 1] << 8)); };
  if (unit(units - 1) != 0) return false;
  std::string out;
  for (size_t k = 0; k + 1 < units; ++k) {
    const uint32_t u = unit(k);
    if (u == 0) return false;
    if (u >= 0xDC00 && u <= 0xDFFF) return false;
    if (u >= 0xD800 && u <= 0xDBFF) {
      const uint32_t low = k + 2 < units ? unit(k + 1) : 0;
      if (low < 0xDC00 || low > 0xDFFF) return false;
      AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
      ++k;
      continue;
    }
    AppendUtf8(out, u);
  }
  utf8 = std::move(out);
  return true;
}

std::vector<uint8_t> RegistryDataOfText(const std::string& utf8) {
  std::vector<uint8_t> out;
  out.reserve(utf8.size() * 2 + 2);
  for (size_t i = 0; i < utf8.size();) {
    const uint32_t c = NextCodePoint(utf8, i);
    if (c >= 0x10000) {
      AppendUtf16(out, 0xD800 + ((c - 0x10000) >> 10));
      AppendUtf16(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      AppendUtf16(out, c);
    }
  }
  AppendUtf16(out, 0);
  return out;
}

void LoadSettingsFrom(ISettingsKey& key, VivarnTaskBse& task, SharedSettingValues& shared) {
  for (const SettingEntry* entry : LoadOrder()) {
    if (entry->storeText != nullptr) {
      LoadText(key, *entry, task);
      continue;
    }
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
    if (entry->textOf != nullptr) {
      std::string text;
      {
        std::lock_guard<std::recursive_mutex> guard(task.lock);
        text = entry->textOf(task);
      }
      const std::vector<uint8_t> data = RegistryDataOfText(text);
      key.Write(entry->name, entry->savedType, data.data(), static_cast<uint32_t>(data.size()));
      continue;
    }
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
