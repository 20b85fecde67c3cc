#include "palette/palette_record.h"

#include <cstring>

bool PaletteGuid::IsZero() const {
  for (uint8_t b : bytes) {
    if (b != 0) return false;
  }
  return true;
}

bool operator==(const PaletteGuid& a, const PaletteGuid& b) {
  return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0;
}

void PaletteRecord::SetName(const PaletteChar* text) {
  size_t i = 0;
  if (text != nullptr) {
    for (; i < kPaletteNameMaxChars && text[i] != 0; ++i) name[i] = text[i];
  }
  for (; i < kPaletteNameUnits; ++i) name[i] = 0;
}

size_t PaletteRecord::NameLength() const {
  size_t length = 0;
  while (length < kPaletteNameUnits - 1 && name[length] != 0) ++length;
  return length;
}

bool IsDefaultPaletteName(const PaletteChar* name) {
  static const char kDefault[] = "default";
  if (name == nullptr) return false;
  size_t i = 0;
  for (; kDefault[i] != 0; ++i) {
    PaletteChar c = name[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<PaletteChar>(c - 'A' + 'a');
    if (c != static_cast<PaletteChar>(kDefault[i])) return false;
  }
  return name[i] == 0;
}
