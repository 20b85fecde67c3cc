#include "palette/palette_record.h"

#include <cstring>

bool PaletteGuid::IsZero() const {
  for (uint8_t b : bytes) {
    if (b != 0) return false;
  }
  return true;
}

bool ParsePaletteGuidText(const wchar_t* text, PaletteGuid& out) {
  if (text == nullptr) return false;
  // Byte i of the text's order lands at kStoredAt[i].
  static constexpr uint8_t kStoredAt[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  PaletteGuid parsed;
  size_t digit = 0;
  for (size_t i = 0; i < 36; ++i) {
    const wchar_t c = text[i];
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (c != L'-') return false;
      continue;
    }
    unsigned value = 0;
    if (c >= L'0' && c <= L'9') value = static_cast<unsigned>(c - L'0');
    else if (c >= L'a' && c <= L'f') value = static_cast<unsigned>(c - L'a' + 10);
    else if (c >= L'A' && c <= L'F') value = static_cast<unsigned>(c - L'A' + 10);
    else return false;  // also the end of a shorter text
    uint8_t& byte = parsed.bytes[kStoredAt[digit / 2]];
    byte = static_cast<uint8_t>(byte << 4 | value);
    ++digit;
  }
  if (text[36] != 0) return false;
  out = parsed;
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
