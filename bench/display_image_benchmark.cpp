// RedrawAll of a model with 1000 elements of every kind into four QImage canvases set up as the
// main window's views: 700 × 450 drawing units shown on 560 × 300 pixels, smoothed or not. The
// views are drawn side by side where the machine has the cores: Time is the wall clock, CPU that
// of every thread.
#include <benchmark/benchmark.h>
#include <memory>

#include <QGuiApplication>

#include "display/views.h"
#include "display_model.h"
#include "ui/image_canvas.h"

namespace {

void BM_RedrawAllImageCanvases(benchmark::State& state) {
  auto model = tavrine::bench::FullDisplayModel();
  std::unique_ptr<tavrine::ImageCanvas> canvases[tavrine::kViewCount];
  tavrine::Views views;
  for (int v = 0; v < tavrine::kViewCount; ++v) {
    canvases[v] = std::make_unique<tavrine::ImageCanvas>(560, 300);
    canvases[v]->SetView(tavrine::kViewWidth, tavrine::kViewHeight, {});
    canvases[v]->SetAntialiased(state.range(0) != 0);
    views.canvas[static_cast<size_t>(v)] = canvases[v].get();
  }
  for (auto _ : state) {
    tavrine::RedrawAll(*model, views);
    for (auto& canvas : canvases) {
      benchmark::DoNotOptimize(canvas->Image().constBits());
    }
  }
  state.SetItemsProcessed(state.iterations() * 7 * tavrine::kElementCapacity);  // elements
}
BENCHMARK(BM_RedrawAllImageCanvases)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("smooth")
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
