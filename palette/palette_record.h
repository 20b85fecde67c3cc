// One named palette: a UTF-16 name, a GUID identity and a gradient. Names are
// not unique; GUIDs are. Portable: the GUID is kept as its 16 raw bytes in
// the Windows GUID memory layout, and names use wchar_t on Windows (UTF-16
// there, so Win32 calls take them directly) and char16_t elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "palette/gradient.h"

#ifdef _WIN32
using PaletteChar = wchar_t;
#else
using PaletteChar = char16_t;
#endif
static_assert(sizeof(PaletteChar) == 2, "palette names are UTF-16");

struct PaletteGuid {
  uint8_t bytes[16] = {};

  bool IsZero() const;
  friend bool operator==(const PaletteGuid& a, const PaletteGuid& b);
  friend bool operator!=(const PaletteGuid& a, const PaletteGuid& b) { return !(a == b); }
};

// A fresh random identity (CoCreateGuid on Windows, a version-4 UUID from the
// system's random source elsewhere).
PaletteGuid NewPaletteGuid();

// Reads the 36-character GUID text the store names values by
// ("xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx", either case, no braces) into the
// bytes of a Windows GUID: the first three groups are numbers stored
// little-endian, the last eight bytes in order. False, and `out` unchanged,
// for any other text.
bool ParsePaletteGuidText(const wchar_t* text, PaletteGuid& out);

// The name field: 256 characters and a terminator.
constexpr size_t kPaletteNameUnits = 257;
// Names given by the program are cut to this many characters.
constexpr size_t kPaletteNameMaxChars = 255;

struct PaletteRecord {
  PaletteChar name[kPaletteNameUnits] = {};
  PaletteGuid guid;
  CGradient gradient;
  // The value name a palette without a GUID was stored under (written by
  // hand or by another program): it is saved under that name again, so
  // saving loses none of them. Empty for palettes that have a GUID.
  std::basic_string<PaletteChar> storedName;

  // Copies at most kPaletteNameMaxChars characters and zero-fills the rest.
  // A null name counts as empty.
  void SetName(const PaletteChar* text);
  size_t NameLength() const;
};

// True for "Default" in any mix of upper and lower case: the name that marks
// the built-in palette.
bool IsDefaultPaletteName(const PaletteChar* name);
