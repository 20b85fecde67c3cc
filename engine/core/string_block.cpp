#include "engine/core/string_block.h"

#include "engine/core/byte_order.h"

namespace {
// Resources are little-endian UTF-16.
uint16_t ReadUnit(const uint8_t* p) { return byte_order::ReadLE16(p); }
}  // namespace

bool ReadStringBlockEntry(const uint8_t* data, size_t size, unsigned entry, std::u16string& out,
                          size_t maxUnits) {
  out.clear();
  if (data == nullptr || entry >= kStringsPerBlock) return false;
  size_t offset = 0;
  for (unsigned i = 0;; ++i) {
    if (offset > size || size - offset < 2) return false;
    const size_t length = ReadUnit(data + offset);
    offset += 2;
    if (length > (size - offset) / 2) return false;
    if (i == entry) {
      const size_t copied = length < maxUnits ? length : maxUnits;
      out.reserve(copied);
      for (size_t k = 0; k < copied; ++k) out.push_back(static_cast<char16_t>(ReadUnit(data + offset + 2 * k)));
      return true;
    }
    offset += 2 * length;
  }
}

