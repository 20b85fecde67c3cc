// Reading one entry of a string-table resource block, without the Win32
// loader. A block holds sixteen strings, each stored as a 16-bit length
// followed by that many UTF-16 units; string id N lives in block N / 16 + 1
// at entry N % 16. The bytes come from a resource and are not trusted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr unsigned kStringsPerBlock = 16;
constexpr size_t kMaxResourceString = 255;

// Block resource id and entry index of string `id`.
constexpr unsigned StringBlockId(unsigned id) { return id / kStringsPerBlock + 1; }
constexpr unsigned StringBlockEntry(unsigned id) { return id % kStringsPerBlock; }

// Copies entry `entry` (0..15) of the block at `data` into `out`, at most
// `maxUnits` units. Returns false, with `out` empty, when the entry lies
// outside the block or its length runs past the end; an empty entry is true.
bool ReadStringBlockEntry(const uint8_t* data, size_t size, unsigned entry, std::u16string& out,
                          size_t maxUnits = kMaxResourceString);

