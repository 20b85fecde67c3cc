// Feeds arbitrary bytes to CGradient::Load and checks what any loaded
// gradient must satisfy: pegs bounded by the data, sorted, within [0, 1];
// every lookup answers; saving and loading again gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "palette/byte_stream.h"
#include "palette/gradient.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryReadStream in(data, size);
  CGradient g;
  g.Load(in);

  const int32_t count = g.GetPegCount();
  if (count < 0 || static_cast<size_t>(count) * CGradient::kSavedPegBytes > size) std::abort();
  for (int32_t i = 0; i < count; ++i) {
    const double p = g.GetPeg(i).position;
    if (!(p >= 0.0 && p <= 1.0)) std::abort();
    if (i > 0 && g.GetPeg(i - 1).position > p) std::abort();
  }

  for (double p : {0.0, 1e-9, 0.25, 0.5, 0.999999, 1.0}) {
    if (g.GetMethod() >= Linear && g.GetMethod() <= LinearReversed && !(p == 0.0 && g.GetUseBackground())) {
      if (g.ColourAt(p) > 0xFFFFFF) std::abort();  // blended colours never touch the top byte
    }
  }
  uint8_t table[3 * 37];
  g.FillColourTable(table, 37);

  MemoryWriteStream saved;
  g.Save(saved);
  CGradient again;
  MemoryReadStream back(saved.Bytes().data(), saved.Bytes().size());
  if (!again.Load(back)) std::abort();
  MemoryWriteStream resaved;
  again.Save(resaved);
  if (resaved.Bytes() != saved.Bytes()) std::abort();
  return 0;
}
