#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the full build with the UI tests
# (offscreen), one sweep through --jobs, GNU parallel and Slurm, then the core tests again under
# AddressSanitizer and UBSan, then the checks that the core stays free of Qt and that the
# sources are formatted.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

echo "== Core must not include Qt"
if grep -rnE '#include\s*[<"]Q' src --include='*.h' --include='*.cpp' | grep -v '^src/ui/'; then
  echo "a core file includes a Qt header" >&2
  exit 1
fi

echo "== Formatting"
git ls-files -- '*.h' '*.cpp' | xargs -r clang-format --dry-run --Werror

echo "== Build and test"
scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Sweeps: --jobs, GNU parallel and a single-node Slurm give the same summary"
scripts/sweep-test.sh

echo "== Core tests under sanitizers"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRINE_SANITIZE=ON \
  -DTAVRINE_BUILD_UI=OFF -DTAVRINE_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS=-O1
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
echo "== All tests passed"
