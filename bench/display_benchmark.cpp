// RedrawAll of a model with 1000 elements of every kind into four null canvases, with every
// outline point or with the desktop views' joining of segments shorter than half a pixel.
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
  // The main window's 700 × 450 units on about 560 × 300 pixels: half a pixel is 0.75 units.
  explicit NullCanvas(double merge_length = 0) : merge_length_(merge_length) {}
  void Fill(Rgb) override { ++calls; }
  void Line(double, double, double, double, Rgb) override { ++calls; }
  void Dot(double, double, Rgb) override { ++calls; }
  void Text(double, double, std::string_view, Rgb) override { ++calls; }
  double Width() const override { return 700; }
  double Height() const override { return 450; }
  double MergeLength() const override { return merge_length_; }
  long calls = 0;

 private:
  double merge_length_;
};

void BM_RedrawAllNullCanvases(benchmark::State& state) {
  auto model = tavrine::bench::FullDisplayModel();
  const double merge = state.range(0) != 0 ? 0.75 : 0;
  NullCanvas canvases[tavrine::kViewCount] = {NullCanvas(merge), NullCanvas(merge),
                                              NullCanvas(merge), NullCanvas(merge)};
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
BENCHMARK(BM_RedrawAllNullCanvases)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("merged")
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
