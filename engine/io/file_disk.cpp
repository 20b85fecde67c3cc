// A byte stream over a C runtime FILE.
#include <cstdio>

#include "engine/io/file.h"

namespace {
FILE* AsFile(void* stream) { return static_cast<FILE*>(stream); }
}  // namespace

bool DiskFile::Open(const char* newPath, uint8_t newMode) {
  if (stream || !newPath) return false;
  // A file opened only to be read must not need write permission.
  const char* how = (newMode & ModeCreate) ? "wb+" : (newMode & ModeWrite) ? "rb+" : "rb";
  FILE* f = std::fopen(newPath, how);
  if (!f) return false;
  stream = f;
  mode = newMode;
  path = newPath;
  return true;
}

bool DiskFile::Close() {
  if (!stream) return false;
  std::fclose(AsFile(stream));
  stream = nullptr;
  path.clear();
  return true;
}

int32_t DiskFile::ReadRaw(void* buffer, int32_t count) {
  if (!stream || count <= 0) return 0;
  return static_cast<int32_t>(std::fread(buffer, 1, static_cast<size_t>(count), AsFile(stream)));
}

char* DiskFile::ReadLine(char* buffer, int32_t count) {
  if (!stream || !buffer || count <= 0) return nullptr;
  return std::fgets(buffer, count, AsFile(stream));
}

int32_t DiskFile::WriteRaw(const void* buffer, int32_t count) {
  if (!stream || count <= 0) return 0;
  return static_cast<int32_t>(std::fwrite(buffer, 1, static_cast<size_t>(count), AsFile(stream)));
}

bool DiskFile::SeekRaw(int32_t offset, int32_t origin) {
  if (!stream) return false;
  const int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : -1;
  if (whence < 0) return false;
  return std::fseek(AsFile(stream), offset, whence) == 0;
}

int32_t DiskFile::SizeRaw() {
  if (!stream) return 0;
  FILE* f = AsFile(stream);
  const long here = std::ftell(f);
  if (here < 0 || std::fseek(f, 0, SEEK_END) != 0) return 0;
  const long end = std::ftell(f);
  std::fseek(f, here, SEEK_SET);
  return end < 0 || end > INT32_MAX ? 0 : static_cast<int32_t>(end);
}

int32_t DiskFile::TellRaw() { return stream ? static_cast<int32_t>(std::ftell(AsFile(stream))) : 0; }
bool DiskFile::EofRaw() { return !stream || std::feof(AsFile(stream)) != 0; }

bool DiskFile::RewindRaw() {
  if (!stream) return false;
  std::rewind(AsFile(stream));
  return true;
}

int32_t DiskFile::GetcRaw() { return stream ? std::fgetc(AsFile(stream)) : -1; }
int32_t DiskFile::PutcRaw(int32_t byte) { return stream ? std::fputc(byte, AsFile(stream)) : -1; }
