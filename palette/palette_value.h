// The byte format of one stored palette: a 4-byte little-endian name length n
// (bytes, two per character, no terminator), n bytes of UTF-16LE name, then
// the gradient's own byte format. The registry keeps one such value per
// palette. Portable.
#pragma once

#include "palette/byte_stream.h"
#include "palette/palette_record.h"

// Largest name length taken from stored data: the field's 256 characters.
constexpr uint32_t kMaxStoredNameBytes = 512;

void WritePaletteValue(IByteStream& stream, const PaletteRecord& record);

// Fills the record's name and gradient (its GUID is not part of the value).
// Untrusted data: a name longer than 512 bytes is cut to 512 and the rest of
// it skipped, an odd trailing byte is skipped, a name cut short by the end of
// the data keeps what was there and zeros after it, and the gradient keeps
// its defaults for whatever is missing. Returns false when the data ended
// early; the record is usable either way.
bool ReadPaletteValue(IByteStream& stream, PaletteRecord& record);
