// Dialog templates and string tables of the program's module, for the
// configuration UI and the overlay alike. By default an item comes in the
// user's interface language when the module carries it (Russian), and in
// English (United States) otherwise or when that language lacks the item.
#pragma once

#include <windows.h>

#include <string>

#include "engine/core/module_win32.h"
#include "engine/core/resource_language.h"

constexpr WORD kEnglishUs = kResourceEnglishUs;  // 1033
constexpr WORD kRussian = kResourceRussian;      // 1049
// Not a language: "the user's", chosen from GetUserDefaultUILanguage, with
// the English item wherever the chosen table lacks one.
constexpr WORD kUserLanguage = 0;

// The carried language the user sees (kEnglishUs or kRussian).
WORD UserResourceLanguage();

// String `id` in language `lang`, at most 255 characters; a missing string or
// block gives an empty text. A language given explicitly is taken exactly,
// without falling back to English.
std::wstring LoadResourceString(UINT id, WORD lang = kUserLanguage, HINSTANCE module = ProgramModule());

// Dialog template `id` in language `lang` (taken like the strings); nullptr
// when missing. The pointer stays valid for the life of the module.
const DLGTEMPLATE* LoadDialogTemplate(UINT id, WORD lang = kUserLanguage, HINSTANCE module = ProgramModule(),
                                      DWORD* size = nullptr);
