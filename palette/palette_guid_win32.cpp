// Palette identities from COM's GUID generator.
#include <windows.h>

#include <objbase.h>

#include <cstring>

#include "palette/palette_record.h"

static_assert(sizeof(GUID) == sizeof(PaletteGuid::bytes), "GUID layout");

PaletteGuid NewPaletteGuid() {
  GUID made{};
  PaletteGuid guid;
  // CoCreateGuid only fails when the system has no random source; a zero
  // GUID then simply never becomes current.
  if (SUCCEEDED(CoCreateGuid(&made))) std::memcpy(guid.bytes, &made, sizeof made);
  return guid;
}
