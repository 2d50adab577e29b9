#!/bin/sh
# Builds the registry-import fuzzer with clang in build-fuzz and runs it for
# a bounded time (FUZZ_SECONDS, 30 by default). Exits non-zero when the
# fuzzer finds an input that crashes, hangs or breaks the round trip; the
# input is left in build-fuzz/findings.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-fuzz"
seconds=${FUZZ_SECONDS:-30}

cmake -S "$top" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVA_BUILD_FUZZ=ON -DORVA_BUILD_GUI=OFF -DORVA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target registry_import_fuzzer -- -j2

mkdir -p "$build/findings" "$build/corpus"
# The seeds stay untouched in the tree; new inputs go to the build folder.
"$build/fuzz/registry_import_fuzzer" "$build/corpus" "$top/fuzz/corpus/registry_import" \
  -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=8192 \
  -artifact_prefix="$build/findings/" -print_final_stats=1
