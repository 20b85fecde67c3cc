// Dialog templates and string tables of the program's module, for the
// configuration UI and the overlay alike. Callers take the English (United
// States) resources whatever the user's language: the Russian twins in the
// same module are never selected.
#pragma once

#include <windows.h>

#include <string>

#include "engine/core/module_win32.h"

constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // 1033
constexpr WORD kRussian = MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA);  // 1049

// String `id` in language `lang`, at most 255 characters; a missing string or
// block gives an empty text.
std::wstring LoadResourceString(UINT id, WORD lang = kEnglishUs, HINSTANCE module = ProgramModule());

// Dialog template `id` in language `lang`; nullptr when missing. The pointer
// stays valid for the life of the module.
const DLGTEMPLATE* LoadDialogTemplate(UINT id, WORD lang = kEnglishUs, HINSTANCE module = ProgramModule(),
                                      DWORD* size = nullptr);

