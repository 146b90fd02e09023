// Writing and reading the largest model file: 1000 elements of every kind and 50001 points in
// both sets (about 14 MB of text).
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <random>
#include <unistd.h>

#include "files/model_file.h"
#include "model/resets.h"

namespace tavrine {
namespace {

std::unique_ptr<ElementModel> LargestModel() {
  auto m = std::make_unique<ElementModel>();
  FullReset(*m);
  std::mt19937_64 rng(1);
  std::uniform_real_distribution<double> v(-100, 100);
  auto place = [&](auto& r) {
    r.Ox = v(rng), r.Oy = v(rng), r.Oz = v(rng), r.AngX = v(rng) / 50, r.AngY = v(rng) / 50;
    r.AngZ = v(rng) / 50;
  };
  for (int i = 1; i <= kElementCapacity; ++i) {
    m->RecMagTable[i] = {v(rng), v(rng), v(rng), 0, 0, 0, 0, 0, 0, v(rng), 0, v(rng), 0};
    place(m->RecMagTable[i]);
    m->SecMagTable[i] = {5, 10 + v(rng), v(rng), 1, 0, 0, 0, 0, 0, 0, v(rng), v(rng), 0};
    place(m->SecMagTable[i]);
    m->RhMagTable[i] = {v(rng), v(rng), 0, 0, 0, 0, 0, 0, v(rng), v(rng), 0};
    place(m->RhMagTable[i]);
    m->StrCylCoilTable[i] = {v(rng), 1 + v(rng) / 200, v(rng)};
    place(m->StrCylCoilTable[i]);
    m->StrRecCoilTable[i] = {v(rng), 2, 1, v(rng)};
    place(m->StrRecCoilTable[i]);
    m->SecCylCoilTable[i] = {v(rng), 1, 0.5, v(rng)};
    place(m->SecCylCoilTable[i]);
    m->SecRecCoilTable[i] = {5, 7, 1, 1, v(rng)};
    place(m->SecRecCoilTable[i]);
  }
  m->RecMagCount = m->RhMagCount = kElementCapacity;
  m->SecMagCount = kElementCapacity;
  m->StrCylCoilCount = m->StrRecCoilCount = m->SecCylCoilCount = m->SecRecCoilCount =
      kElementCapacity;
  m->RectCalPointSet.LastIndex = m->SectCalPointSet.LastIndex = kCalPointCapacity;
  for (int i = 0; i <= kCalPointCapacity; ++i) {
    m->RectCalPointSet.Points[i] = {0, 0, 0, v(rng), v(rng), v(rng), v(rng), v(rng), v(rng)};
    m->SectCalPointSet.Points[i] = {v(rng), v(rng) / 50, v(rng), 0, 0, 0, v(rng), v(rng), v(rng)};
  }
  return m;
}

std::string TempPath() {
  return "/tmp/tavrine_bench_" + std::to_string(getpid()) + ".csv";
}

// The text alone, without the file system: the save's temporary file, fsync and rename are
// what BM_WriteModelFile adds to this.
void BM_FormatModelFile(benchmark::State& state) {
  auto model = LargestModel();
  for (auto _ : state) {
    ModelFileBytes file = FormatModelFile(*model);
    benchmark::DoNotOptimize(file.bytes.data());
  }
  state.SetItemsProcessed(state.iterations() * (7 * kElementCapacity + 2 * kPointSlots));
}

void BM_WriteModelFile(benchmark::State& state) {
  auto model = LargestModel();
  const std::string path = TempPath();
  for (auto _ : state) {
    if (WriteModelFile(*model, path)) {
      state.SkipWithError("write failed");
    }
  }
  state.SetItemsProcessed(state.iterations() * (7 * kElementCapacity + 2 * kPointSlots));
  std::remove(path.c_str());
}

void BM_ReadModelFile(benchmark::State& state) {
  auto model = LargestModel();
  const std::string path = TempPath();
  WriteModelFile(*model, path);
  for (auto _ : state) {
    ModelReadResult read = ReadModelFile(path, *model);
    if (!read.ok()) {
      state.SkipWithError("read failed");
    }
    benchmark::DoNotOptimize(read.model.get());
  }
  state.SetItemsProcessed(state.iterations() * (7 * kElementCapacity + 2 * kPointSlots));
  std::remove(path.c_str());
}

// The text alone, without the file system: what BM_ReadModelFile adds to this is reading the
// file's bytes.
void BM_ParseModelFile(benchmark::State& state) {
  auto model = LargestModel();
  const std::string bytes = FormatModelFile(*model).bytes;
  for (auto _ : state) {
    ModelReadResult read = ParseModelFile(bytes, *model);
    if (!read.ok()) {
      state.SkipWithError("parse failed");
    }
    benchmark::DoNotOptimize(read.model.get());
  }
  state.SetItemsProcessed(state.iterations() * (7 * kElementCapacity + 2 * kPointSlots));
}

void BM_WriteThenReadModelFile(benchmark::State& state) {
  auto model = LargestModel();
  const std::string path = TempPath();
  for (auto _ : state) {
    WriteModelFile(*model, path);
    ModelReadResult read = ReadModelFile(path, *model);
    benchmark::DoNotOptimize(read.model.get());
  }
  std::remove(path.c_str());
}

// Large point tables are read and written on every core: wall time is what a user waits.
BENCHMARK(BM_FormatModelFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteModelFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadModelFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParseModelFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteThenReadModelFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tavrine

BENCHMARK_MAIN();
