// Feeds arbitrary bytes to the string-table block reader: every entry must be
// read or refused without touching memory outside the block.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/core/string_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text;
  for (unsigned entry = 0; entry <= kStringsPerBlock; ++entry) {
    if (ReadStringBlockEntry(data, size, entry, text) && text.size() > kMaxResourceString) __builtin_trap();
  }
  return 0;
}
