// Generation-step speed: the task's Step against the plain transcription the
// tests keep, on random soups of full-HD and 4K outputs at cell size 5, with
// the default rule and slow dying, or the default rule's counts with 3 and 25
// states (Generations). Reported as time per cell per generation
// (the "per_cell" counter). The header line "Load Average" says how busy the
// machine was. BM_PatternFill times one reseed by the pattern fill modes.
//
//   build/native/tests/bench/life_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/core/ref_count.h"
#include "life/pattern_gallery.h"
#include "tests/life/life_test_support.h"
#include "tests/life/oracle_life.h"

namespace {

constexpr int kWarmUpGenerations = 200;

// A field of the output size at cell size 5, seeded in mode 0 from a fixed
// state and run for the warm-up: the soup is then mostly dying cells.
CRefCountPtrT<VivarnTaskBse> WarmSoup(int32_t width, int32_t height, int32_t drawMode, int32_t states) {
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  SetOutputSize(width, height);
  task->CellSize = 5;
  task->FieldDrawMode = drawMode;
  task->ResetMode = 0;
  task->PeriodicResetOn = false;
  task->AutoReset = false;
  task->DieSlowly = true;
  task->RuleStates = states;
  task->SetBkColor(0.0f, 0.0f, 0.3f, 1.0f);
  randomState = 20261208u;
  task->ApplyCellSize();
  task->ResetPopulation();
  for (int g = 0; g < kWarmUpGenerations; ++g) task->Step();
  return task;
}

void ReportPerCell(benchmark::State& state, int32_t columns, int32_t rows) {
  state.counters["per_cell"] = benchmark::Counter(
      static_cast<double>(columns) * rows,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["columns"] = columns;
  state.counters["rows"] = rows;
}

void BM_Step(benchmark::State& state) {
  auto task = WarmSoup(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)),
                       static_cast<int32_t>(state.range(2)), static_cast<int32_t>(state.range(3)));
  uint32_t nonEmpty = 0;
  for (int i = 0; i < Field(*task).columns * Field(*task).rows; ++i) nonEmpty += Field(*task).cells[i] != 0.0f;
  state.counters["non_empty"] = static_cast<double>(nonEmpty) / (Field(*task).columns * Field(*task).rows);
  for (auto _ : state) {
    task->Step();
    benchmark::DoNotOptimize(Field(*task).population);
  }
  ReportPerCell(state, Field(*task).columns, Field(*task).rows);
}

// The transcription's generations, then as many of the task's from the same
// soup: "identical" is 1 when cells, vertex colours and counters agree bit
// for bit afterwards.
void BM_OracleStep(benchmark::State& state) {
  auto task = WarmSoup(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)),
                       static_cast<int32_t>(state.range(2)), static_cast<int32_t>(state.range(3)));
  OracleLife oracle = OracleLife::From(*task, randomState);
  for (auto _ : state) {
    oracle.Step();
    benchmark::DoNotOptimize(oracle.population);
  }
  ReportPerCell(state, oracle.columns, oracle.rows);
  for (benchmark::IterationCount i = 0; i < state.iterations(); ++i) task->Step();
  const size_t n = static_cast<size_t>(Field(*task).columns) * Field(*task).rows;
  const bool identical =
      std::memcmp(Field(*task).cells.get(), oracle.cells.data(), n * sizeof(float)) == 0 &&
      std::memcmp(Mesh(*task).colours.get(), oracle.colours.data(), oracle.colours.size() * sizeof(Rgba8)) == 0 &&
      Field(*task).population == oracle.population && Field(*task).generation == oracle.generation &&
      Field(*task).populationSum == oracle.populationSum && Field(*task).steadyPopulationCount == oracle.steadyPopulationCount &&
      Field(*task).steadyAverageCount == oracle.steadyAverageCount && Field(*task).dying == oracle.dying &&
      std::memcmp(&Field(*task).averageAge, &oracle.averageAge, sizeof(float)) == 0;
  state.counters["identical"] = identical ? 1.0 : 0.0;
}

// Arguments: output width, output height, draw mode, cell states.
void Sizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"w", "h", "mode", "states"});
  for (int mode : {0, 1}) {
    b->Args({1920, 1080, mode, 2});
    b->Args({3840, 2160, mode, 2});
    b->Args({3840, 2160, mode, 3});
    b->Args({3840, 2160, mode, 25});
  }
  b->Unit(benchmark::kMillisecond);
  // On a shared machine the fastest repetition is the figure least disturbed
  // by other work.
  b->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

BENCHMARK(BM_Step)->Apply(Sizes);
BENCHMARK(BM_OracleStep)->Apply(Sizes);

// A pattern of `w` x `h` with about a third of its cells live, from a fixed
// state (the gallery's sizes, roughly: spaceships to guns and large oscillators).
Pattern Sample(int32_t w, int32_t h, uint32_t seed) {
  Pattern p;
  p.width = w;
  p.height = h;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      seed = seed * 1103515245u + 12345u;
      if ((seed >> 16) % 3 == 0 || x == 0 || y == 0 || x == w - 1 || y == h - 1) p.cells.push_back({x, y, 1});
    }
  return p;
}

// One reseed at 3840 x 2160, cell size 5 (768 x 432 cells), vertex colours
// included: fill mode 3 from the gallery's Life patterns (or, before the
// gallery has any, samples of their sizes), and fill mode 4 with a pattern
// of range(1) x range(2) cells (larger than the field: cut).
void BM_PatternFill(benchmark::State& state) {
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  SetOutputSize(3840, 2160);
  task->CellSize = 5;
  task->ApplyCellSize();
  LifeField& field = Field(*task);
  const int32_t mode = static_cast<int32_t>(state.range(0));
  std::vector<Pattern> samples;
  std::vector<const Pattern*> famous;
  for (const GalleryEntry* entry : GalleryEntriesForRule(RuleDefinition{})) famous.push_back(&entry->pattern);
  state.counters["gallery"] = static_cast<double>(famous.size());
  if (famous.empty()) {
    const int32_t sizes[][2] = {{3, 3}, {5, 4}, {7, 4}, {13, 13}, {36, 9}, {15, 3}, {9, 9}, {40, 40}};
    uint32_t seed = 7;
    for (const auto& size : sizes) samples.push_back(Sample(size[0], size[1], seed++));
    for (const Pattern& p : samples) famous.push_back(&p);
  }
  field.reseed.fillMode = mode;
  field.reseed.famous = famous;
  if (mode == 4)
    field.reseed.chosen = std::make_shared<Pattern>(
        Sample(static_cast<int32_t>(state.range(1)), static_cast<int32_t>(state.range(2)), 99));
  randomState = 20261209u;
  for (auto _ : state) {
    ReseedFieldAndMesh(field, Mesh(*task));
    benchmark::DoNotOptimize(field.lastSeed.placed);
  }
  state.counters["placed"] = field.lastSeed.placed;
  state.counters["covered"] = static_cast<double>(field.lastSeed.coveredCells) / (field.columns * field.rows);
}
BENCHMARK(BM_PatternFill)
    ->ArgNames({"mode", "w", "h"})
    ->Args({3, 0, 0})
    ->Args({4, 600, 400})
    ->Args({4, 2000, 2000})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
