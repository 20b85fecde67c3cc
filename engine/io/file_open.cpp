// OpenFile: "res:" paths name embedded resources, everything else is a disk
// file.
#include <cstring>

#include "engine/io/file.h"

bool OpenFile(const char* path, CRefCountPtrT<IVekFileBase>& file) {
  file.Reset();
  if (!path) return false;
  if (std::strncmp(path, "res:", 4) == 0) {
    const char* rest = path + 4;
    const char* separator = std::strpbrk(rest, "/\\");
    if (!separator) return false;
    std::vector<uint8_t> bytes;
    if (!ReadEmbeddedResource(std::string(rest, separator), std::string(separator + 1), bytes)) return false;
    if (bytes.size() > static_cast<size_t>(INT32_MAX)) return false;
    auto* memory = new MemoryFile();
    file.Adopt(memory);
    // Open on a memory file without a buffer only records the mode; the
    // contents come next.
    memory->Open(path, IVekFileBase::ModeRead);
    memory->SetContents(bytes.data(), static_cast<int32_t>(bytes.size()));
    memory->path = path;
    return true;
  }
  auto* disk = new DiskFile();
  file.Adopt(disk);
  if (!disk->Open(path, IVekFileBase::ModeRead)) {
    file.Reset();
    return false;
  }
  return true;
}
