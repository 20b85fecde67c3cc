// Colour table speed: the Life renderer's 1000-entry table per palette change
// and a gradient control's per-column table, for every blending rule.
#include <benchmark/benchmark.h>

#include <vector>

#include "palette/byte_stream.h"
#include "palette/gradient.h"
#include "palette/palette_container.h"

namespace {

CGradient Rainbow(int32_t method) {
  CGradient g = CPaletteContainerBase::MakeDefaultPalette()->gradient;
  g.SetMethod(method);
  return g;
}

void FillTable(benchmark::State& state) {
  const CGradient g = Rainbow(static_cast<int32_t>(state.range(0)));
  const int32_t entries = static_cast<int32_t>(state.range(1));
  std::vector<uint8_t> table(3 * static_cast<size_t>(entries));
  for (auto _ : state) {
    g.FillColourTable(table.data(), entries);
    benchmark::DoNotOptimize(table.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * entries);
}
BENCHMARK(FillTable)->ArgsProduct({{Linear, Cosine, HueShortest, LinearReversed}, {1000}});
BENCHMARK(FillTable)->Args({Cosine, 1920});

void FillTableManyPegs(benchmark::State& state) {
  CGradient g = Rainbow(Cosine);
  for (int i = 0; i < 60; ++i) g.AddPeg(static_cast<Colour>(i * 0x030201), (i + 0.5) / 60.0);
  std::vector<uint8_t> table(3 * 1000);
  for (auto _ : state) {
    g.FillColourTable(table.data(), 1000);
    benchmark::DoNotOptimize(table.data());
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(FillTableManyPegs);

void SaveAndLoad(benchmark::State& state) {
  const CGradient g = Rainbow(Cosine);
  for (auto _ : state) {
    MemoryWriteStream out;
    g.Save(out);
    CGradient back;
    MemoryReadStream in(out.Bytes().data(), out.Bytes().size());
    benchmark::DoNotOptimize(back.Load(in));
  }
}
BENCHMARK(SaveAndLoad);

}  // namespace
