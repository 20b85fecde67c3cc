// The shared part of every byte stream: the checked non-virtual operations
// and the block stack.
#include "engine/io/file.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "engine/core/byte_order.h"
#include "engine/core/log.h"

namespace {
// A block header claims its own lengths; this keeps a corrupt one from
// asking for an absurd buffer before anything is read.
constexpr uint32_t kMaxBlockBytes = 256u << 20;
}  // namespace

void IVekFileBase::OnCreate() {
  LifecycleLog() << "IVekFileBase this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " created\n";
}

void IVekFileBase::OnDestroy() {
  LifecycleLog() << "IVekFileBase this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " destroyed\n";
}

int32_t IVekFileBase::BlockDepth() const {
  std::lock_guard<std::recursive_mutex> guard(blockLock);
  return static_cast<int32_t>(blocks.size());
}

int32_t IVekFileBase::SourceRead(void* buffer, int32_t count) {
  if (count <= 0) return 0;
  if (blocks.empty()) return ReadRaw(buffer, count);
  Block& b = blocks.back();
  const int32_t left = std::max<int32_t>(0, static_cast<int32_t>(b.bytes.size()) - b.position);
  const int32_t n = std::min(count, left);
  if (n > 0) std::memcpy(buffer, b.bytes.data() + b.position, static_cast<size_t>(n));
  b.position += n;
  return n;
}

int64_t IVekFileBase::SourceRemaining() {
  if (blocks.empty()) return std::max<int64_t>(0, int64_t{SizeRaw()} - TellRaw());
  const Block& b = blocks.back();
  return std::max<int64_t>(0, static_cast<int64_t>(b.bytes.size()) - b.position);
}

int32_t IVekFileBase::SourceWrite(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  if (blocks.empty()) return WriteRaw(buffer, count);
  Block& b = blocks.back();
  const size_t end = static_cast<size_t>(b.position) + static_cast<size_t>(count);
  if (end > b.bytes.size()) b.bytes.resize(end);
  std::memcpy(b.bytes.data() + b.position, buffer, static_cast<size_t>(count));
  b.position += count;
  return count;
}

bool IVekFileBase::BeginBlock(bool enable, uint8_t blockMode) {
  if (!enable) return false;
  std::lock_guard<std::recursive_mutex> guard(blockLock);
  const bool outermost = blocks.empty();
  Block block;
  block.mode = blockMode;
  if (blockMode & ModeRead) {
    uint8_t header[8];
    bool ok = SourceRead(header, 8) == 8;
    const uint32_t stored = ok ? byte_order::ReadLE32(header) : 0;
    const uint32_t unpacked = ok ? byte_order::ReadLE32(header + 4) : 0;
    // Lengths are checked before any buffer is made: the stored bytes must
    // be there, and deflate cannot expand by more than about 1032 to 1.
    ok = ok && stored <= kMaxBlockBytes && unpacked <= kMaxBlockBytes && (outermost || stored == unpacked) &&
         int64_t{stored} <= SourceRemaining() && uint64_t{unpacked} <= uint64_t{stored} * 1032 + 64;
    std::vector<uint8_t> packed;
    if (ok) {
      packed.resize(stored);
      ok = SourceRead(packed.data(), static_cast<int32_t>(stored)) == static_cast<int32_t>(stored);
    }
    if (ok && outermost) {
      block.bytes.resize(unpacked);
      uLongf got = unpacked;
      // uncompress wants a non-null destination even for an empty block.
      uint8_t empty = 0;
      ok = uncompress(unpacked ? block.bytes.data() : &empty, &got, packed.data(), stored) == Z_OK &&
           got == unpacked;
    } else if (ok) {
      block.bytes = std::move(packed);
    }
    if (!ok) {
      MainLog() << "<!> " << "Block cannot be read from " << path << "\n";
      return false;
    }
  }
  blocks.push_back(std::move(block));
  return outermost;
}

bool IVekFileBase::EndBlock() {
  std::lock_guard<std::recursive_mutex> guard(blockLock);
  if (blocks.empty()) return false;
  Block block = std::move(blocks.back());
  blocks.pop_back();
  const bool outermost = blocks.empty();
  if (!(block.mode & ModeWrite)) return outermost;

  const uint32_t n = static_cast<uint32_t>(block.bytes.size());
  uint8_t header[8];
  if (!outermost) {
    byte_order::WriteLE32(header, n);
    byte_order::WriteLE32(header + 4, n);
    SourceWrite(header, 8);
    SourceWrite(block.bytes.data(), static_cast<int32_t>(n));
    return false;
  }
  // compressBound, not a hand-made estimate: incompressible data grows by
  // a few bytes more than n / 4096 + n / 16384 + 11 allows.
  std::vector<uint8_t> packed(compressBound(n));
  uLongf packedSize = packed.size();
  uint8_t empty = 0;
  if (compress(packed.data(), &packedSize, n ? block.bytes.data() : &empty, n) != Z_OK) {
    MainLog() << "<!> " << "Block cannot be written to " << path << "\n";
    return true;
  }
  byte_order::WriteLE32(header, static_cast<uint32_t>(packedSize));
  byte_order::WriteLE32(header + 4, n);
  WriteRaw(header, 8);
  WriteRaw(packed.data(), static_cast<int32_t>(packedSize));
  return true;
}

int32_t IVekFileBase::Read(void* buffer, int32_t count) {
  if (!IsOpen() || !(mode & ModeRead) || count <= 0) return 0;
  if (blocks.empty()) return ReadRaw(buffer, count);
  std::lock_guard<std::recursive_mutex> guard(blockLock);
  return SourceRead(buffer, count);
}

int32_t IVekFileBase::Getc() {
  if (!IsOpen() || !(mode & ModeRead)) return 0;
  if (blocks.empty()) return GetcRaw();
  uint8_t byte = 0;
  std::lock_guard<std::recursive_mutex> guard(blockLock);
  return SourceRead(&byte, 1) == 1 ? byte : -1;
}

int32_t IVekFileBase::Write(const void* buffer, int32_t count) {
  if (!IsOpen() || !(mode & ModeWrite) || count <= 0) return 0;
  if (blocks.empty()) return WriteRaw(buffer, count);
  std::lock_guard<std::recursive_mutex> guard(blockLock);
  return SourceWrite(buffer, count);
}

bool IVekFileBase::Seek(int32_t offset, int32_t origin) {
  if (!IsOpen()) return false;
  if (blocks.empty()) return SeekRaw(offset, origin);
  std::lock_guard<std::recursive_mutex> guard(blockLock);
  Block& b = blocks.back();
  int64_t target;
  switch (origin) {
    case 0: target = offset; break;
    case 1: target = int64_t{b.position} + offset; break;
    case 2: target = static_cast<int64_t>(b.bytes.size()) - offset; break;
    default: return false;
  }
  if (target < 0 || target > INT32_MAX) return false;
  b.position = static_cast<int32_t>(target);
  return true;
}

int32_t IVekFileBase::Size() {
  if (!IsOpen()) return 0;
  std::lock_guard<std::recursive_mutex> guard(blockLock);
  // Inside a block the block is the whole stream as far as the caller sees.
  if (!blocks.empty()) return static_cast<int32_t>(blocks.back().bytes.size());
  return SizeRaw();
}

int32_t IVekFileBase::Tell() {
  if (!IsOpen()) return 0;
  std::lock_guard<std::recursive_mutex> guard(blockLock);
  if (!blocks.empty()) return blocks.back().position;
  return TellRaw();
}

bool IVekFileBase::Eof() {
  if (!IsOpen()) return true;
  std::lock_guard<std::recursive_mutex> guard(blockLock);
  if (!blocks.empty()) {
    const Block& b = blocks.back();
    return b.position >= static_cast<int32_t>(b.bytes.size());
  }
  return EofRaw();
}

bool IVekFileBase::Rewind() {
  if (!IsOpen()) return false;
  std::lock_guard<std::recursive_mutex> guard(blockLock);
  if (!blocks.empty()) {
    blocks.back().position = 0;
    return true;
  }
  return RewindRaw();
}
