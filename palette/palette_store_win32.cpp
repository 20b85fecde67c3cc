// The palette store's registry side: the settings key's "Palette" subkey
// holds one REG_BINARY value per palette, named by the palette's GUID text,
// and the current palette's GUID text in the default value. Values are read
// whole into memory and written as streams (SHOpenRegStream2W). A key without
// any value is a first run: it gets the starter palettes, named in the user's
// language. Loading, which the full-screen start does, keeps to advapi32: the
// RPC and shell helpers are for saving only (the program binds them on their
// first call).
#include <windows.h>

#include <objbase.h>
#include <rpc.h>
#include <shlwapi.h>

#include <cstring>
#include <vector>

#include "engine/core/log.h"
#include "engine/core/resource_loader_win32.h"
#include "engine/core/scoped_handle_win32.h"
#include "palette/palette_container.h"
#include "palette/palette_value.h"
#include "palette/settings_key.h"
#include "palette/starter_palettes.h"

namespace {

constexpr DWORD kValueNameUnits = 260;
constexpr DWORD kCurrentGuidBytes = 514;

// The key path: the settings key with "Palette" appended.
void BuildPalettePath(wchar_t (&path)[MAX_PATH]) {
  std::wcscpy(path, kSettingsKeyPath);
  std::wcscat(path, L"\\Palette");
}

// IStream seen through the two operations the formats use. A COM read that
// returns fewer bytes than asked (S_FALSE at the end of the value) is a
// failed read; so is any error.
class RegistryValueStream : public IByteStream {
 public:
  explicit RegistryValueStream(IStream* s) : stream(s) {}
  bool Write(const void* data, size_t size) override {
    ULONG written = 0;
    return SUCCEEDED(stream->Write(data, static_cast<ULONG>(size), &written)) && written == size;
  }
  bool Read(void* data, size_t size) override {
    if (exhausted) return false;
    ULONG got = 0;
    const HRESULT result = stream->Read(data, static_cast<ULONG>(size), &got);
    if (FAILED(result) || got != size) {
      exhausted = true;
      return false;
    }
    return true;
  }

 private:
  IStream* stream;
  bool exhausted = false;
};

// A value's bytes, whatever its type; false when it cannot be read.
bool ReadValueBytes(HKEY key, const wchar_t* name, std::vector<uint8_t>& bytes) {
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
  bytes.resize(size);
  if (size == 0) return true;
  if (RegQueryValueExW(key, name, nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS) return false;
  bytes.resize(size);
  return true;
}

// The 36-character text of a GUID, or an empty string when RPC cannot make it.
void GuidText(const PaletteGuid& guid, wchar_t (&text)[40]) {
  text[0] = 0;
  UUID uuid;
  std::memcpy(&uuid, guid.bytes, sizeof uuid);
  RPC_WSTR made = nullptr;
  if (UuidToStringW(&uuid, &made) == RPC_S_OK && made != nullptr) {
    lstrcpynW(text, reinterpret_cast<const wchar_t*>(made), 40);
    RpcStringFreeW(&made);
  }
}

ScopedRegKey OpenPaletteKey() {
  wchar_t path[MAX_PATH];
  BuildPalettePath(path);
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return ScopedRegKey();
  }
  return ScopedRegKey(key);
}

}  // namespace

bool CPaletteContainerBase::Load() {
  Clear();
  ScopedRegKey key = OpenPaletteKey();
  if (!key) {
    MainLog() << "<!> " << "Palette store: cannot open the palette key\n";
    return false;
  }
  currentGuid = PaletteGuid{};
  // The key's own count decides whether this is a first run: it includes the
  // values the loop below skips. When it cannot be read, the key is left alone.
  DWORD storedValues = 0;
  if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &storedValues, nullptr,
                       nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    storedValues = 1;
  }
  for (DWORD index = 0;; ++index) {
    wchar_t name[kValueNameUnits];
    DWORD nameUnits = kValueNameUnits;
    const LONG result = RegEnumValueW(key.get(), index, name, &nameUnits, nullptr, nullptr, nullptr, nullptr);
    // A name too long for the buffer cannot be a palette's GUID: skip that
    // value instead of giving up on every value after it.
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) break;

    if (nameUnits == 0) {
      wchar_t text[kCurrentGuidBytes / 2 + 1] = {};
      DWORD bytes = kCurrentGuidBytes;
      if (RegQueryValueExW(key.get(), L"", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &bytes) == ERROR_SUCCESS) {
        text[kCurrentGuidBytes / 2] = 0;
        if (!ParsePaletteGuidText(text, currentGuid)) currentGuid = PaletteGuid{};
      }
      continue;
    }

    std::vector<uint8_t> bytes;
    if (!ReadValueBytes(key.get(), name, bytes)) continue;  // unreadable: skipped
    auto record = std::make_unique<PaletteRecord>();
    MemoryReadStream reader(bytes.data(), bytes.size());
    ReadPaletteValue(reader, *record);
    if (!ParsePaletteGuidText(name, record->guid)) {
      record->guid = PaletteGuid{};
      record->storedName = name;
    }
    palettes.push_back(std::move(record));
  }
  key.reset();  // closed before Save below deletes the key and makes it anew
  // Written at once: a new user's set must not depend on pressing OK.
  const auto name = [](uint32_t id) { return LoadResourceString(id); };
  if (CompleteLoadedStore(*this, storedValues, name) && !Save()) {
    MainLog() << "<!> " << "Palette store: the starter palettes were not stored\n";
  }
  return true;
}

bool CPaletteContainerBase::Save() {
  wchar_t path[MAX_PATH];
  BuildPalettePath(path);
  SHDeleteKeyW(HKEY_CURRENT_USER, path);  // values of removed palettes go with it
  const ScopedRegKey key = OpenPaletteKey();
  if (!key) {
    MainLog() << "<!> " << "Palette store: cannot create the palette key\n";
    return false;
  }
  for (const auto& record : palettes) {
    wchar_t text[40];
    GuidText(record->guid, text);
    // Palettes without a GUID would all share the zero GUID's name.
    const bool ownName = record->guid.IsZero() && !record->storedName.empty();
    const wchar_t* valueName = ownName ? record->storedName.c_str() : text;
    IStream* stream = valueName[0] != 0 ? SHOpenRegStream2W(key.get(), nullptr, valueName, STGM_WRITE) : nullptr;
    if (stream == nullptr) {
      MainLog() << "<!> " << "Palette store: cannot write a palette value\n";
      return false;
    }
    RegistryValueStream writer(stream);
    WritePaletteValue(writer, *record);
    stream->Release();  // stores the value
  }
  wchar_t current[40];
  GuidText(currentGuid, current);
  RegSetValueExW(key.get(), L"", 0, REG_SZ, reinterpret_cast<const BYTE*>(current),
                 static_cast<DWORD>(lstrlenW(current) * sizeof(wchar_t)));
  return true;
}
