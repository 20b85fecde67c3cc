#include "palette/byte_stream.h"

#include <cstring>

#include "engine/core/byte_order.h"

bool PutLE32(IByteStream& stream, uint32_t value) {
  uint8_t bytes[4];
  byte_order::WriteLE32(bytes, value);
  return stream.Write(bytes, sizeof bytes);
}

bool GetLE32(IByteStream& stream, uint32_t& value) {
  uint8_t bytes[4];
  if (!stream.Read(bytes, sizeof bytes)) return false;
  value = byte_order::ReadLE32(bytes);
  return true;
}

bool MemoryReadStream::Read(void* data, size_t size) {
  const size_t left = length - offset;
  if (size > left) {
    offset = length;
    return false;
  }
  if (size > 0) std::memcpy(data, bytes + offset, size);
  offset += size;
  return true;
}

bool MemoryWriteStream::Write(const void* data, size_t size) {
  const uint8_t* from = static_cast<const uint8_t*>(data);
  bytes.insert(bytes.end(), from, from + size);
  return true;
}
