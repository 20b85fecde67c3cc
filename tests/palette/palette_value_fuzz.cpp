// Feeds arbitrary bytes to the stored palette value parser: the name stays
// within its field and terminated, and a record written back parses to the
// same name and gradient.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "palette/byte_stream.h"
#include "palette/palette_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryReadStream in(data, size);
  PaletteRecord record;
  ReadPaletteValue(in, record);
  if (record.name[kPaletteNameUnits - 1] != 0) std::abort();
  const size_t length = record.NameLength();
  if (length > kMaxStoredNameBytes / 2) std::abort();
  if (length > 0 && 4 + 2 * length > size) std::abort();  // only bytes that were there

  MemoryWriteStream out;
  WritePaletteValue(out, record);
  PaletteRecord again;
  MemoryReadStream back(out.Bytes().data(), out.Bytes().size());
  if (!ReadPaletteValue(back, again)) std::abort();
  if (again.NameLength() != length) std::abort();
  for (size_t i = 0; i < length; ++i) {
    if (again.name[i] != record.name[i]) std::abort();
  }
  MemoryWriteStream rewritten;
  WritePaletteValue(rewritten, again);
  if (rewritten.Bytes() != out.Bytes()) std::abort();
  return 0;
}
