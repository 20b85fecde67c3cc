#include "palette/byte_stream.h"

#include <cstring>

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
