// Byte streams: one interface over disk files and memory buffers, with
// length-prefixed blocks (zlib-compressed when outermost, raw when nested)
// that serve reads and writes from memory while open.
//
// Callers use the non-virtual operations (Read, Getc, Write, Seek, ...):
// they check the preconditions and route to the innermost open block, or to
// the raw slot of the file when no block is open. Portable: no platform
// headers; only OpenFile's "res:" lookup needs the platform (file_resource_*).
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "engine/core/ref_count.h"

class IVekFileBase : public IRefCountPtrBase {
 public:
  enum Mode : uint8_t { ModeRead = 1, ModeWrite = 2, ModeCreate = 4 };

  void OnCreate() override;
  void OnDestroy() override;

  virtual bool Open(const char* path, uint8_t mode) = 0;
  virtual bool Close() = 0;
  virtual bool IsOpen() const = 0;

  // Opens a block when `enable` is set. A read block (blockMode has ModeRead)
  // takes its header and bytes from the current source at once. Returns true
  // when the new block is the outermost one; a block that cannot be read
  // (truncated, corrupt, implausible lengths) is not opened, logs one line and
  // gives false: compare BlockDepth() before and after to tell the cases.
  virtual bool BeginBlock(bool enable, uint8_t blockMode);
  // Closes the innermost block; a write block is emitted to what is then the
  // current source. Returns true when the closed block was the outermost.
  virtual bool EndBlock();
  int32_t BlockDepth() const;

  virtual int32_t ReadRaw(void* buffer, int32_t count) = 0;
  // fgets: at most count - 1 bytes, up to and including a line feed, then a
  // terminating zero; null when nothing is left.
  virtual char* ReadLine(char* buffer, int32_t count) = 0;
  virtual int32_t WriteRaw(const void* buffer, int32_t count) = 0;
  virtual bool SeekRaw(int32_t offset, int32_t origin) = 0;
  virtual int32_t SizeRaw() = 0;
  virtual int32_t TellRaw() = 0;
  virtual bool EofRaw() = 0;
  virtual bool RewindRaw() = 0;
  virtual int32_t GetcRaw() = 0;
  virtual int32_t PutcRaw(int32_t byte) = 0;

  int32_t Read(void* buffer, int32_t count);
  int32_t Getc();
  int32_t Write(const void* buffer, int32_t count);
  bool Seek(int32_t offset, int32_t origin);
  int32_t Size();
  int32_t Tell();
  bool Eof();
  bool Rewind();

  uint8_t mode = 0;
  std::string path;

 protected:
  struct Block {
    std::vector<uint8_t> bytes;
    int32_t position = 0;
    uint8_t mode = 0;
  };
  // Reads and writes against whichever source is current for a new block:
  // the innermost open block, or the file itself.
  int32_t SourceRead(void* buffer, int32_t count);
  int32_t SourceWrite(const void* buffer, int32_t count);
  int64_t SourceRemaining();

  std::vector<Block> blocks;
  mutable std::recursive_mutex blockLock;
};

class MemoryFile : public IVekFileBase {
 public:
  ~MemoryFile() override;

  bool Open(const char* path, uint8_t mode) override;
  bool Close() override;
  bool IsOpen() const override { return data != nullptr; }
  int32_t ReadRaw(void* buffer, int32_t count) override;
  char* ReadLine(char* buffer, int32_t count) override;
  int32_t WriteRaw(const void* buffer, int32_t count) override;
  bool SeekRaw(int32_t offset, int32_t origin) override;
  int32_t SizeRaw() override { return size; }
  int32_t TellRaw() override { return position; }
  bool EofRaw() override { return position >= size; }
  bool RewindRaw() override;
  int32_t GetcRaw() override;
  int32_t PutcRaw(int32_t byte) override;

  // Replaces the contents with a copy of `count` bytes; the position stays
  // where it was unless there was no buffer before (then it becomes 0).
  void SetContents(const void* bytes, int32_t count);

  int32_t position = -1;
  uint8_t* data = nullptr;
  int32_t size = 0;

 private:
  bool Reserve(int64_t needed);
  int32_t capacity = 0;
};

class DiskFile : public IVekFileBase {
 public:
  // Read-only for ModeRead alone, "rb+" for read and write, "wb+" with
  // ModeCreate. The stream is closed only by Close.
  bool Open(const char* path, uint8_t mode) override;
  bool Close() override;
  bool IsOpen() const override { return stream != nullptr; }
  int32_t ReadRaw(void* buffer, int32_t count) override;
  char* ReadLine(char* buffer, int32_t count) override;
  int32_t WriteRaw(const void* buffer, int32_t count) override;
  bool SeekRaw(int32_t offset, int32_t origin) override;
  int32_t SizeRaw() override;
  int32_t TellRaw() override;
  bool EofRaw() override;
  bool RewindRaw() override;
  int32_t GetcRaw() override;
  int32_t PutcRaw(int32_t byte) override;

  void* stream = nullptr;  // FILE*
};

// Opens `path` for reading: "res:TYPE/NAME" (or "res:TYPE\NAME") is a copy of
// a resource embedded in the executable, anything else a disk file. The
// handle gets the file's one reference on success and stays empty otherwise.
bool OpenFile(const char* path, CRefCountPtrT<IVekFileBase>& file);

// Platform seam: copies the bytes of embedded resource `name` of `type`.
// False when the executable holds no such resource.
bool ReadEmbeddedResource(const std::string& type, const std::string& name,
                          std::vector<uint8_t>& bytes);
