// RedrawAll of a model with 1000 elements of every kind into four null canvases.
#include <benchmark/benchmark.h>

#include "display/canvas.h"
#include "display/views.h"
#include "display_model.h"

namespace {

using tavrine::Canvas;
using tavrine::Rgb;

// Counts the calls and nothing else, so the figure is the display's own cost.
class NullCanvas final : public Canvas {
 public:
  void Fill(Rgb) override { ++calls; }
  void Line(double, double, double, double, Rgb) override { ++calls; }
  void Dot(double, double, Rgb) override { ++calls; }
  void Text(double, double, std::string_view, Rgb) override { ++calls; }
  double Width() const override { return 700; }
  double Height() const override { return 450; }
  long calls = 0;
};

void BM_RedrawAllNullCanvases(benchmark::State& state) {
  auto model = tavrine::bench::FullDisplayModel();
  NullCanvas canvases[tavrine::kViewCount];
  tavrine::Views views;
  for (int v = 0; v < tavrine::kViewCount; ++v) {
    views.canvas[static_cast<size_t>(v)] = &canvases[v];
  }
  for (auto _ : state) {
    tavrine::RedrawAll(*model, views);
  }
  long calls = 0;
  for (const NullCanvas& c : canvases) {
    calls += c.calls;
  }
  state.SetItemsProcessed(state.iterations() * 7 * tavrine::kElementCapacity);  // elements
  state.counters["calls_per_redraw"] =
      static_cast<double>(calls) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RedrawAllNullCanvases)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
