// Palette identities where no COM is available (native builds and tests).
#include "palette/palette_record.h"

#include <random>

PaletteGuid NewPaletteGuid() {
  static std::random_device device;
  PaletteGuid guid;
  for (size_t i = 0; i < sizeof guid.bytes; i += 4) {
    const uint32_t word = device();
    for (size_t k = 0; k < 4; ++k) guid.bytes[i + k] = static_cast<uint8_t>(word >> (8 * k));
  }
  // Version 4 (random) in Data3's high nibble, RFC 4122 variant in Data4[0].
  guid.bytes[7] = static_cast<uint8_t>((guid.bytes[7] & 0x0F) | 0x40);
  guid.bytes[8] = static_cast<uint8_t>((guid.bytes[8] & 0x3F) | 0x80);
  return guid;
}
