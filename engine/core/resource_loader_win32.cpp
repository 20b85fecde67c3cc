#include "engine/core/resource_loader_win32.h"

#include "engine/core/string_block.h"

namespace {
const void* LockLanguageResource(HINSTANCE module, LPCWSTR type, UINT id, WORD lang, DWORD& size) {
  HRSRC found = FindResourceExW(module, type, MAKEINTRESOURCEW(id), lang);
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  if (loaded == nullptr) return nullptr;
  size = SizeofResource(module, found);
  return LockResource(loaded);
}

std::wstring LoadExactString(UINT id, WORD lang, HINSTANCE module) {
  DWORD size = 0;
  const void* block = LockLanguageResource(module, RT_STRING, StringBlockId(id), lang, size);
  std::u16string text;
  if (block == nullptr || !ReadStringBlockEntry(static_cast<const uint8_t*>(block), size, StringBlockEntry(id), text))
    return std::wstring();
  return std::wstring(text.begin(), text.end());
}
}  // namespace

WORD UserResourceLanguage() { return ResourceLanguageFor(GetUserDefaultUILanguage()); }

std::wstring LoadResourceString(UINT id, WORD lang, HINSTANCE module) {
  const WORD chosen = lang != kUserLanguage ? lang : UserResourceLanguage();
  std::wstring text = LoadExactString(id, chosen, module);
  // A block stores the strings it lacks as empty entries, so an empty text
  // is as missing as an absent block.
  if (text.empty() && lang == kUserLanguage && chosen != kEnglishUs) text = LoadExactString(id, kEnglishUs, module);
  return text;
}

const DLGTEMPLATE* LoadDialogTemplate(UINT id, WORD lang, HINSTANCE module, DWORD* size) {
  DWORD bytes = 0;
  const WORD chosen = lang != kUserLanguage ? lang : UserResourceLanguage();
  const void* found = LockLanguageResource(module, RT_DIALOG, id, chosen, bytes);
  if (found == nullptr && lang == kUserLanguage && chosen != kEnglishUs)
    found = LockLanguageResource(module, RT_DIALOG, id, kEnglishUs, bytes);
  if (size != nullptr) *size = found != nullptr ? bytes : 0;
  return static_cast<const DLGTEMPLATE*>(found);
}
