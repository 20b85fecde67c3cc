// Embedded resources of the program's module (the instance the entry point
// records, or the executable itself before that).
#include "engine/core/module_win32.h"
#include "engine/io/file.h"

bool ReadEmbeddedResource(const std::string& type, const std::string& name, std::vector<uint8_t>& bytes) {
  const HMODULE module = ProgramModule();
  HRSRC found = FindResourceA(module, name.c_str(), type.c_str());
  if (!found) return false;
  const DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  const void* locked = loaded ? LockResource(loaded) : nullptr;
  if (!locked) return false;
  const auto* begin = static_cast<const uint8_t*>(locked);
  bytes.assign(begin, begin + size);
  return true;
}
