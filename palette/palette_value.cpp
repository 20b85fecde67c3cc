#include "palette/palette_value.h"

#include "engine/core/byte_order.h"

namespace {
// Reads and drops `count` bytes; stops at the end of the data.
bool Skip(IByteStream& stream, uint32_t count) {
  uint8_t scratch[256];
  while (count > 0) {
    const uint32_t chunk = count < sizeof scratch ? count : static_cast<uint32_t>(sizeof scratch);
    if (!stream.Read(scratch, chunk)) return false;
    count -= chunk;
  }
  return true;
}
}  // namespace

void WritePaletteValue(IByteStream& stream, const PaletteRecord& record) {
  const size_t length = record.NameLength();
  PutLE32(stream, static_cast<uint32_t>(length * 2));
  for (size_t i = 0; i < length; ++i) {
    uint8_t bytes[2];
    byte_order::WriteLE16(bytes, static_cast<uint16_t>(record.name[i]));
    stream.Write(bytes, sizeof bytes);
  }
  record.gradient.Save(stream);
}

bool ReadPaletteValue(IByteStream& stream, PaletteRecord& record) {
  for (PaletteChar& unit : record.name) unit = 0;
  uint32_t stated = 0;
  bool ok = GetLE32(stream, stated);
  const uint32_t characters = (stated < kMaxStoredNameBytes ? stated : kMaxStoredNameBytes) / 2;
  // One character at a time, so a name cut short keeps every whole character.
  uint32_t consumed = 0;
  for (uint32_t i = 0; ok && i < characters; ++i) {
    uint8_t unit[2];
    ok = stream.Read(unit, sizeof unit);
    if (ok) {
      record.name[i] = static_cast<PaletteChar>(byte_order::ReadLE16(unit));
      consumed += 2;
    }
  }
  ok = ok && Skip(stream, stated - consumed);
  // After a failure the stream is exhausted, so Load leaves every field of the
  // gradient at its default.
  return record.gradient.Load(stream) && ok;
}
