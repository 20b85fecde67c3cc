// Fixed byte orders of file formats and stored values, whatever the host's:
// little-endian (BMP, TGA, the registry's binary values, resources, the
// palette format), big-endian (SGI). Byte by byte, so unaligned data is fine.
#pragma once

#include <cstdint>
#include <vector>

namespace byte_order {

constexpr uint16_t ReadLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
constexpr uint32_t ReadLE32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
constexpr uint16_t ReadBE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }
constexpr uint32_t ReadBE32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}

constexpr void WriteLE16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
constexpr void WriteLE32(uint8_t* p, uint32_t v) {
  WriteLE16(p, static_cast<uint16_t>(v));
  WriteLE16(p + 2, static_cast<uint16_t>(v >> 16));
}
constexpr void WriteBE16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}
constexpr void WriteBE32(uint8_t* p, uint32_t v) {
  WriteBE16(p, static_cast<uint16_t>(v >> 16));
  WriteBE16(p + 2, static_cast<uint16_t>(v));
}

inline void AppendLE16(std::vector<uint8_t>& out, uint16_t v) {
  uint8_t b[2];
  WriteLE16(b, v);
  out.insert(out.end(), b, b + 2);
}
inline void AppendLE32(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t b[4];
  WriteLE32(b, v);
  out.insert(out.end(), b, b + 4);
}

}  // namespace byte_order
