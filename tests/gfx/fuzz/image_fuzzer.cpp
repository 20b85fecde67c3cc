// Every decoder behind the loader's format detection, fed from a memory
// stream: nothing may read or write outside its buffers, and a failure must
// leave no image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/core/log.h"
#include "engine/image/image.h"
#include "engine/io/file.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  MainLog().SetConsole(false);
  LifecycleLog().SetConsole(false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  auto* memory = new MemoryFile();
  CRefCountPtrT<IVekFileBase> file;
  file.Adopt(memory);
  memory->Open("fuzz", IVekFileBase::ModeRead);
  memory->SetContents(data, static_cast<int32_t>(size));
  CRefCountPtrT<Image> image;
  const bool ok = DecodeImage(*file, image);
  if (ok != static_cast<bool>(image)) std::abort();
  if (ok) {
    const Image& picture = *image;
    if (picture.dataSize != picture.width * picture.height * picture.components) std::abort();
    // Touch every byte so that a short buffer shows up under the sanitizer.
    volatile uint8_t sum = 0;
    for (int32_t i = 0; i < picture.dataSize; ++i) sum = static_cast<uint8_t>(sum + picture.data[i]);
  }
  return 0;
}
