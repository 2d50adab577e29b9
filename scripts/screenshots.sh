#!/bin/bash
# Takes the README's pictures of the player's window on a private X display:
# the bookmark list, the bookmark file chooser and the configuration panel,
# on the sample book, with the on-screen message each key puts up. The player
# runs on a store, a home and a data folder of its own, so neither the
# reader's settings nor their folders are read or shown. The pictures are
# written into docs/.
#
#   scripts/screenshots.sh [BUILD_DIR]   (default: build; the player must be built)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
player=$build/apps/OrvaPlayer/OrvaPlayer
checker=$build/tests/e2e/trace_check
for tool in "$player" "$checker"; do
  [ -x "$tool" ] || { echo "$tool is missing: build the player first (./run.sh)" >&2; exit 1; }
done
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/orva-screenshots.XXXXXX")
# The home folder shows in the chooser: a short name, with a few folders and
# an earlier export in it.
home=$(mktemp -d "${TMPDIR:-/tmp}/lettore.XXXXXX")
trap 'rm -rf "$work" "$home"' EXIT
mkdir -p "$work/registry" "$work/runtime" "$work/data" "$home/Documenti" "$home/Libri"
: >"$home/segnalibri.REG"
chmod 700 "$work/runtime"

# The reader sets two bookmarks on the second chapter's first page and opens
# the list; opens the chooser to export them and leaves it; opens the
# configuration panel. Each picture is taken while the key's message shows.
cat >"$work/pictures.script" <<EOF
wait 9000
window-size 640 440
click "Capitolo secondo, pagina uno"
wait 2500
input "Inizio del capitolo"
key Alt+3
wait 1500
input "Il dialogo"
key Alt+3
wait 300
key Alt+6
wait 500
screenshot "$root/docs/screenshot-bookmarks.png"
bookmark-button 0
wait 500
screenshot "$root/docs/screenshot-chooser.png"
bookmark-button 3
wait 300
bookmark-button 4
wait 300
key Ctrl+8
wait 500
screenshot "$root/docs/screenshot-configuration.png"
wait 300
answer Yes
quit
EOF

env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY HOME="$home" XDG_DATA_HOME="$work/data" \
  XDG_RUNTIME_DIR="$work/runtime" ORVA_REGISTRY_DIR="$work/registry" \
  ORVA_MACHINE_REGISTRY="$work/registry/machine.sqlite" \
  xvfb-run -a -s "-screen 0 1024x768x24" \
  "$player" --book "$root/sample-book" --audio null --script "$work/pictures.script" \
  --trace "$work/trace.jsonl" >"$work/output" 2>&1 || { cat "$work/output" >&2; exit 1; }
"$checker" "$work/trace.jsonl" "ev=exit|code=0" "!ev=script_error" "!ev=error-report" ||
  { grep -E '"ev":"(script_error|error-report)"' "$work/trace.jsonl" >&2; exit 1; }
ls -l "$root"/docs/screenshot-*.png
