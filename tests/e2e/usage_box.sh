#!/bin/bash
# With a display, a command line the program cannot use is also said in a
# message box, which a screen reader reads: the program has written its line
# on standard error and waits with the box, titled with its name, on screen.
#
#   usage_box.sh PROGRAM
#
# Runs on a private X server (xvfb-run); exits 77 (skipped) without one.
set -u
program=$1
name=$(basename "$program")
command -v xvfb-run >/dev/null && command -v xwininfo >/dev/null || { echo "skipped: no xvfb-run"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/orva-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"

# shellcheck disable=SC2016 # expanded by the inner shell
ORVA_REGISTRY_DIR="$work" ORVA_MACHINE_REGISTRY="$work/machine.sqlite" XDG_RUNTIME_DIR="$work/runtime" \
  QT_QPA_PLATFORM=xcb xvfb-run -a bash -c '
  "$1" --verbose 2>"$3/err" &
  pid=$!
  for _ in $(seq 150); do
    xwininfo -name "$2" 2>/dev/null | grep -q IsViewable && { echo shown >"$3/box"; break; }
    kill -0 $pid 2>/dev/null || break
    sleep 0.2
  done
  kill $pid 2>/dev/null
  wait $pid
' _ "$program" "$name" "$work" </dev/null >/dev/null 2>&1

[ -f "$work/box" ] || { echo "FAIL: no message box \"$name\" on the display"; cat "$work/err"; exit 1; }
grep -qF "unknown option \"--verbose\"" "$work/err" || { echo "FAIL: no line on standard error"; cat "$work/err"; exit 1; }
echo "ok: $name showed the message box"
