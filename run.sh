#!/usr/bin/env bash
# Installs what is needed, builds, and starts OrvaPlayer on the bundled
# sample book. Without a display it runs headless: a script walks the sample
# book and the trace of what the player did is printed.
set -euo pipefail
cd "$(dirname "$0")"
top=$(pwd)
jobs=$(nproc 2>/dev/null || echo 2)

./scripts/install-deps.sh
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVA_BUILD_BENCH=OFF >/dev/null
cmake --build build-run -j"$jobs" --target OrvaPlayer >&2

player="$top/build-run/apps/OrvaPlayer/OrvaPlayer"
book="$top/sample-book"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$player" --book "$book" "$@"
fi

echo "No display: the player reads the sample book by itself, headless, with the audio decoded as fast as it" \
  "can; the trace of the walk follows." >&2
export QT_QPA_PLATFORM=offscreen
# A walk must not disturb the reader's own settings and bookmarks.
ORVA_REGISTRY_DIR=$(mktemp -d)
ORVA_MACHINE_REGISTRY="$ORVA_REGISTRY_DIR/machine.sqlite"
export ORVA_REGISTRY_DIR ORVA_MACHINE_REGISTRY
trap 'rm -rf "$ORVA_REGISTRY_DIR"' EXIT
"$player" --book "$book" --audio fast --script "$top/scripts/walk-sample-book.script" --trace - "$@"
