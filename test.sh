#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the format check, the
# whole suite with warnings as errors, the suite again under AddressSanitizer
# and UndefinedBehaviorSanitizer, and a bounded fuzzing run.
set -euo pipefail
cd "$(dirname "$0")"
top=$(pwd)
jobs=$(nproc 2>/dev/null || echo 2)

./scripts/install-deps.sh

echo "== format check"
./scripts/check-format.sh

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVA_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
export QT_QPA_PLATFORM=offscreen
export ORVA_REGISTRY_DIR="$top/build/test-registry/default"
(cd build && ctest --output-on-failure -j"$jobs" --timeout 300)

echo "== sanitizer build and test"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVA_WERROR=ON -DORVA_SANITIZE=ON \
  -DORVA_BUILD_GUI=OFF -DORVA_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j"$jobs" --timeout 600)

if [ -x scripts/fuzz-registry-import.sh ]; then
  echo "== fuzzing the registry importer"
  ./scripts/fuzz-registry-import.sh
fi

echo "== all tests passed"
