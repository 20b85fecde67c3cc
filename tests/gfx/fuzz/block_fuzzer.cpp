// The block reader on arbitrary bytes: nested and compressed blocks are
// opened, read, sought and closed as the input's first byte directs; a
// refused block must leave the block stack as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/core/log.h"
#include "engine/io/file.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  MainLog().SetConsole(false);
  LifecycleLog().SetConsole(false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  const uint8_t script = data[0];
  auto* memory = new MemoryFile();
  CRefCountPtrT<IVekFileBase> file;
  file.Adopt(memory);
  memory->Open("fuzz", IVekFileBase::ModeRead);
  memory->SetContents(data + 1, static_cast<int32_t>(size - 1));
  uint8_t buffer[512];
  const int depthLimit = 1 + (script & 3);
  for (int depth = 0; depth < depthLimit; ++depth) {
    const int32_t before = file->BlockDepth();
    file->BeginBlock(true, IVekFileBase::ModeRead);
    const int32_t after = file->BlockDepth();
    if (after != before && after != before + 1) std::abort();
    if (after == before) break;
    if (file->Tell() != 0) std::abort();
    if (script & 4) file->Seek(file->Size() / 2, 0);
    const int32_t got = file->Read(buffer, sizeof buffer);
    if (got < 0 || got > static_cast<int32_t>(sizeof buffer)) std::abort();
    if (script & 8) file->Getc();
  }
  while (file->BlockDepth() > 0) file->EndBlock();
  return 0;
}
