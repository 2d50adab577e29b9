#!/usr/bin/env bash
# Line coverage of the core (common/, player/, launcher/, tools/) by the core and store tests, with gcovr.
# Builds without the Qt/mpv parts in a fresh build-coverage/ (coverage notes of files that were moved or deleted
# would otherwise confuse gcovr) and prints the summary; the figure guards test pruning.
# Usage: scripts/coverage.sh [SOURCE_DIR] [BUILD_DIR]
set -euo pipefail
src=$(cd "${1:-$(dirname "$0")/..}" && pwd)
build=${2:-$src/build-coverage}
command -v gcovr >/dev/null || { echo "coverage: gcovr is missing (apt-get install gcovr)" >&2; exit 1; }
rm -rf "$build"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVA_BUILD_GUI=OFF -DORVA_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_EXE_LINKER_FLAGS=--coverage >/dev/null
cmake --build "$build" -j"$(nproc)"
(cd "$build" && ORVA_REGISTRY_DIR="$build/test-registry/default" ctest -j"$(nproc)" --timeout 300 >/dev/null) || true
cd "$src"
gcovr -r "$src" "$build" --filter 'common/' --filter 'player/' --filter 'launcher/' --filter 'tools/' \
  --exclude '.*_test\.cpp' --exclude '.*fake_.*' --exclude '.*/testing/.*' --exclude '.*_bench\.cpp' \
  --exclude '.*_test_(support|world)\..*' --print-summary | tail -4
