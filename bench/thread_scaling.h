// One and two threads timed alternately inside every iteration, so that a shared machine's
// load falls on both alike; reports both times and their ratio.
#pragma once

#include <benchmark/benchmark.h>
#include <chrono>

namespace tavrine::bench {

// run(threads) does one whole run or study; `pairs` is its (point, element) pair count.
template <class Run>
void TimeOneAndTwoThreads(benchmark::State& state, double pairs, Run run) {
  using Clock = std::chrono::steady_clock;
  double one = 0, two = 0;
  for (auto _ : state) {
    for (int threads : {1, 2}) {
      const Clock::time_point start = Clock::now();
      run(threads);
      const std::chrono::duration<double> took = Clock::now() - start;
      (threads == 1 ? one : two) += took.count();
    }
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["1_thread_ms"] = 1000 * one / n;
  state.counters["2_threads_ms"] = 1000 * two / n;
  state.counters["speed_up"] = two > 0 ? one / two : 0;
  state.counters["pairs"] = pairs;
}

}  // namespace tavrine::bench
