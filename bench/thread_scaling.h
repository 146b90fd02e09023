// One and two threads timed alternately inside every iteration, so that a shared machine's
// load falls on both alike; reports both times and their ratio. Each iteration also times two
// independent one-thread copies of the same work side by side: their ratio to one copy alone
// is the most two threads can give on this machine at that moment (virtual cores that share
// a physical one give far less than 2), so `efficiency` is what the run's own threading keeps
// of it.
#pragma once

#include <benchmark/benchmark.h>
#include <chrono>
#include <thread>

namespace tavrine::bench {

// run(threads, copy) does one whole run or study on `threads` threads over copy 0 or 1 of its
// data, which must not share anything written; `pairs` is its (point, element) pair count.
template <class Run>
void TimeOneAndTwoThreads(benchmark::State& state, double pairs, Run run) {
  using Clock = std::chrono::steady_clock;
  const auto seconds_of = [](auto work) {
    const Clock::time_point start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
  };
  double one = 0, two = 0, side_by_side = 0;
  for (auto _ : state) {
    one += seconds_of([&] { run(1, 0); });
    two += seconds_of([&] { run(2, 0); });
    side_by_side += seconds_of([&] {
      std::thread other([&] { run(1, 1); });
      run(1, 0);
      other.join();
    });
  }
  const double n = static_cast<double>(state.iterations());
  const double speed_up = two > 0 ? one / two : 0;
  const double ceiling = side_by_side > 0 ? 2 * one / side_by_side : 0;
  state.counters["1_thread_ms"] = 1000 * one / n;
  state.counters["2_threads_ms"] = 1000 * two / n;
  state.counters["speed_up"] = speed_up;
  state.counters["ceiling"] = ceiling;
  state.counters["efficiency"] = ceiling > 0 ? speed_up / ceiling : 0;
  state.counters["pairs"] = pairs;
}

}  // namespace tavrine::bench
