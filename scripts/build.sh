#!/usr/bin/env bash
# Configures and builds the whole project (program, batch runner, tests, benchmarks) in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
