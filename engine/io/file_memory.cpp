// A byte stream over a heap buffer: embedded resources are read through it,
// and it grows as it is written.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/io/file.h"

MemoryFile::~MemoryFile() { std::free(data); }

bool MemoryFile::Open(const char* newPath, uint8_t newMode) {
  mode = newMode;
  if (!data && !(newMode & ModeCreate)) return false;
  // Open on a memory file always starts an empty stream.
  size = 0;
  position = 0;
  if (!Reserve(1)) return false;
  path = newPath ? newPath : "";
  return true;
}

bool MemoryFile::Close() {
  if (!data) return false;
  std::free(data);
  data = nullptr;
  capacity = 0;
  position = -1;
  size = 0;
  return true;
}

bool MemoryFile::Reserve(int64_t needed) {
  if (needed > INT32_MAX) return false;
  if (data && needed <= capacity) return true;
  int64_t grown = std::max<int64_t>({needed, int64_t{capacity} * 2, 16});
  grown = std::min<int64_t>(grown, INT32_MAX);
  auto* bigger = static_cast<uint8_t*>(std::realloc(data, static_cast<size_t>(grown)));
  if (!bigger) return false;
  data = bigger;
  capacity = static_cast<int32_t>(grown);
  return true;
}

void MemoryFile::SetContents(const void* bytes, int32_t count) {
  const bool hadBuffer = data != nullptr;
  count = std::max(count, 0);
  std::free(data);
  data = nullptr;
  capacity = 0;
  size = 0;
  if (!Reserve(std::max(count, 1))) return;
  if (count > 0) std::memcpy(data, bytes, static_cast<size_t>(count));
  size = count;
  if (!hadBuffer || position < 0) position = 0;
}

int32_t MemoryFile::ReadRaw(void* buffer, int32_t count) {
  if (!data || count <= 0 || position >= size) return 0;
  const int32_t n = std::min(count, size - position);
  std::memcpy(buffer, data + position, static_cast<size_t>(n));
  position += n;
  return n;
}

char* MemoryFile::ReadLine(char* buffer, int32_t count) {
  if (!data || !buffer || count <= 0 || position >= size) return nullptr;
  int32_t n = 0;
  while (n < count - 1 && position < size) {
    const char c = static_cast<char>(data[position++]);
    buffer[n++] = c;
    if (c == '\n') break;
  }
  buffer[n] = '\0';
  return buffer;
}

int32_t MemoryFile::WriteRaw(const void* buffer, int32_t count) {
  if (!data || count <= 0 || position < 0) return 0;
  const int64_t end = int64_t{position} + count;
  if (!Reserve(end)) return 0;
  // A write after a seek past the end leaves zeros in the gap.
  if (position > size) std::memset(data + size, 0, static_cast<size_t>(position - size));
  std::memcpy(data + position, buffer, static_cast<size_t>(count));
  position = static_cast<int32_t>(end);
  size = std::max(size, position);
  return count;
}

bool MemoryFile::SeekRaw(int32_t offset, int32_t origin) {
  if (!data) return false;
  int64_t target;
  switch (origin) {
    case 0: target = offset; break;
    case 1: target = int64_t{position} + offset; break;
    case 2: target = int64_t{size} - offset; break;  // a positive offset counts back from the end
    default: return false;
  }
  if (target < 0 || target > INT32_MAX) return false;
  position = static_cast<int32_t>(target);
  return true;
}

bool MemoryFile::RewindRaw() {
  if (!data) return false;
  position = 0;
  return true;
}

int32_t MemoryFile::GetcRaw() {
  if (!data || position < 0 || position >= size) return -1;
  return data[position++];
}

int32_t MemoryFile::PutcRaw(int32_t byte) {
  const uint8_t b = static_cast<uint8_t>(byte);
  return WriteRaw(&b, 1) == 1 ? b : -1;
}
