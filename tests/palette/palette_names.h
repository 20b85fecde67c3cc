// Palette names in tests: built from ASCII so that one test source serves the
// char16_t (native) and the wchar_t (Windows) builds.
#pragma once

#include <string>

#include "palette/palette_record.h"

using PaletteName = std::basic_string<PaletteChar>;

inline PaletteName Name(const char* ascii) {
  PaletteName out;
  for (const char* c = ascii; *c; ++c) out.push_back(static_cast<PaletteChar>(static_cast<unsigned char>(*c)));
  return out;
}

inline PaletteName NameOf(const PaletteRecord& r) { return PaletteName(r.name, r.name + r.NameLength()); }
