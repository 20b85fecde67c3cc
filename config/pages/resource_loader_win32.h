// Dialog templates and strings of the configuration UI, always taken from the
// English (United States) resources whatever the user's language: the Russian
// twins in the same module are never selected.
#pragma once

#include <windows.h>

#include <string>

constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // 1033
constexpr WORD kRussian = MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA);  // 1049

// The module whose resources the UI uses: the one recorded at start-up, else
// the executable.
HINSTANCE ResourceModule();

// String `id` in language `lang`, at most 255 characters; a missing string or
// block gives an empty text.
std::wstring LoadResourceString(UINT id, WORD lang = kEnglishUs, HINSTANCE module = ResourceModule());

// Dialog template `id` in language `lang`; nullptr when missing. The pointer
// stays valid for the life of the module.
const DLGTEMPLATE* LoadDialogTemplate(UINT id, WORD lang = kEnglishUs, HINSTANCE module = ResourceModule(),
                                      DWORD* size = nullptr);

