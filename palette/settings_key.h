// The saver's settings key under HKEY_CURRENT_USER: the Life settings are its
// values, the palettes live in its "Palette" subkey. Kept here, below both
// users, so the two can never drift apart.
#pragma once

constexpr wchar_t kSettingsKeyPath[] = L"SOFTWARE\\Vivarn Screen Saver 2\\Settings";
