// Which of the languages the program carries its dialogs and strings in a
// user sees. Plain numbers (Windows language ids) so the choice builds and is
// tested without Windows.
#pragma once

#include <cstdint>

constexpr uint16_t kResourceEnglishUs = 0x0409;  // English (United States), 1033
constexpr uint16_t kResourceRussian = 0x0419;    // Russian (Russia), 1049

// The carried language for a user interface language `uiLanguage` (a LANGID):
// Russian for every Russian variant, since only one Russian table exists;
// English for anything else. English is also where an item missing from the
// chosen language is taken from.
uint16_t ResourceLanguageFor(uint16_t uiLanguage);
