#!/usr/bin/env bash
# Configures and builds the whole project (program, batch runner, tests, benchmarks) in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
# The options are given every time, so that a build folder configured by hand for less
# (no UI, no benchmarks) is put back to the whole project.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINE_BUILD_UI=ON -DTAVRINE_BUILD_BENCH=ON
cmake --build build -j "$(nproc)"
