// The sequential byte stream the palette formats are written to and read
// from: two operations, nothing else. The registry value stream of the palette
// store and the in-memory streams below (tests, fuzzers, value parsing) both
// implement it. Portable: no platform headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class IByteStream {
 public:
  virtual ~IByteStream() = default;
  // Appends `size` bytes; false when not all of them could be written.
  virtual bool Write(const void* data, size_t size) = 0;
  // Reads exactly `size` bytes into `data`; false on a short read, after
  // which `data` may hold part of the bytes (read into a temporary). A short
  // read consumes what was there, so every later read fails too: callers can
  // stop at the first failure without tracking the remaining length.
  virtual bool Read(void* data, size_t size) = 0;
};

// A 32-bit value, little-endian as every number of the palette formats.
bool PutLE32(IByteStream& stream, uint32_t value);
// Changes `value` only when all four bytes were read.
bool GetLE32(IByteStream& stream, uint32_t& value);

// Reads from a caller-owned buffer that outlives the stream.
class MemoryReadStream : public IByteStream {
 public:
  MemoryReadStream(const void* data, size_t size)
      : bytes(static_cast<const uint8_t*>(data)), length(size) {}
  bool Write(const void*, size_t) override { return false; }
  bool Read(void* data, size_t size) override;
  size_t Remaining() const { return length - offset; }

 private:
  const uint8_t* bytes;
  size_t length;
  size_t offset = 0;
};

// Collects everything written into a growable buffer.
class MemoryWriteStream : public IByteStream {
 public:
  bool Write(const void* data, size_t size) override;
  bool Read(void*, size_t) override { return false; }
  const std::vector<uint8_t>& Bytes() const { return bytes; }

 private:
  std::vector<uint8_t> bytes;
};
