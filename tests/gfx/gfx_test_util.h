// Helpers for the stream and decoder tests: memory streams over test bytes,
// temporary files, little- and big-endian writers and pixel access.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/byte_order.h"
#include "engine/image/image.h"
#include "engine/io/file.h"

namespace gfx_test {

using Bytes = std::vector<uint8_t>;

inline CRefCountPtrT<IVekFileBase> MemoryStream(const Bytes& bytes, uint8_t mode = IVekFileBase::ModeRead) {
  auto* file = new MemoryFile();
  CRefCountPtrT<IVekFileBase> handle;
  handle.Adopt(file);
  file->Open("memory", IVekFileBase::ModeCreate | mode);
  file->mode = mode;
  file->SetContents(bytes.data(), static_cast<int32_t>(bytes.size()));
  file->position = 0;
  return handle;
}

inline void PutLE16(Bytes& b, uint32_t v) { byte_order::AppendLE16(b, static_cast<uint16_t>(v)); }
inline void PutLE32(Bytes& b, uint32_t v) { byte_order::AppendLE32(b, v); }
inline void PutBE16(Bytes& b, uint32_t v) {
  b.resize(b.size() + 2);
  byte_order::WriteBE16(b.data() + b.size() - 2, static_cast<uint16_t>(v));
}
inline void PutBE32(Bytes& b, uint32_t v) {
  b.resize(b.size() + 4);
  byte_order::WriteBE32(b.data() + b.size() - 4, v);
}

// Pixel (x, y) of a decoded image, y counted from the bottom row.
inline std::vector<int> PixelAt(const Image& image, int x, int y) {
  const uint8_t* p = image.data + (static_cast<size_t>(y) * image.width + x) * image.components;
  return std::vector<int>(p, p + image.components);
}

// A file in the temporary directory, removed when the object goes.
class TempFile {
 public:
  TempFile(const std::string& name, const Bytes& bytes) : path(Dir() + name) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
      if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
  }
  ~TempFile() { std::remove(path.c_str()); }
  const std::string path;

 private:
  static std::string Dir() {
    const char* tmp = std::getenv("TMPDIR");
#ifdef _WIN32
    if (!tmp) tmp = std::getenv("TEMP");
    return std::string(tmp ? tmp : ".") + "\\";
#else
    return std::string(tmp ? tmp : "/tmp") + "/";
#endif
  }
};

}  // namespace gfx_test
