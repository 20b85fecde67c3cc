// Pattern reading speed: a 1 MB RLE of a random soup (runs of 1 to 4 cells,
// lines wrapped at 70 characters as writers do), read as a file picked by the
// user would be. The target is 20 ms for it.
//
//   build/native/tests/bench/pattern_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>

#include "life/pattern/pattern_reader.h"

namespace {

std::string SoupRle(size_t bytes) {
  constexpr int kWidth = 4000;
  std::mt19937 random(20261209u);
  std::string runs;
  std::string line;
  int rows = 0;
  auto emit = [&](const std::string& token) {
    if (line.size() + token.size() > 70) {
      runs += line;
      runs += '\n';
      line.clear();
    }
    line += token;
  };
  while (runs.size() + line.size() < bytes) {
    bool alive = random() & 1;
    for (int x = 0; x < kWidth;) {
      const int count = std::min<int>(1 + static_cast<int>(random() % 4), kWidth - x);
      emit((count > 1 ? std::to_string(count) : std::string()) + (alive ? 'o' : 'b'));
      x += count;
      alive = !alive;
    }
    emit("$");
    ++rows;
  }
  emit("!");
  runs += line;
  return "#N Soup\nx = " + std::to_string(kWidth) + ", y = " + std::to_string(rows) + ", rule = B3/S23\n" + runs + "\n";
}

void BM_ReadRle(benchmark::State& state) {
  const std::string text = SoupRle(1u << 20);
  size_t cells = 0;
  for (auto _ : state) {
    Pattern pattern;
    PatternReadError error;
    if (!ReadPattern(text, pattern, error)) state.SkipWithError("the soup was refused");
    cells = pattern.cells.size();
    benchmark::DoNotOptimize(pattern.cells.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["cells"] = static_cast<double>(cells);
}
BENCHMARK(BM_ReadRle)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
