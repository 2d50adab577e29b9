#!/bin/bash
#   usage_box.sh PROGRAM: with a display, a bad command line is also said in a
# message box titled with the program's name. Without xvfb-run and xdotool it
# fails, as a check that did not run has not passed.
set -u
program=$1
name=$(basename "$program")
for tool in xvfb-run xdotool; do
  command -v $tool >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/orva-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"

# shellcheck disable=SC2016 # expanded by the inner shell
ORVA_REGISTRY_DIR="$work" ORVA_MACHINE_REGISTRY="$work/machine.sqlite" XDG_RUNTIME_DIR="$work/runtime" \
  QT_QPA_PLATFORM=xcb xvfb-run -a bash -c '
  "$1" --verbose 2>"$3/err" &
  pid=$!
  for _ in $(seq 150); do
    xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1 && { echo shown >"$3/box"; break; }
    kill -0 $pid 2>/dev/null || break
    sleep 0.2
  done
  kill $pid 2>/dev/null
  wait $pid
' _ "$program" "$name" "$work" </dev/null >/dev/null 2>&1

[ -f "$work/box" ] || { echo "FAIL: no message box \"$name\" on the display"; cat "$work/err"; exit 1; }
grep -qF "unknown option \"--verbose\"" "$work/err" || { echo "FAIL: no line on standard error"; cat "$work/err"; exit 1; }
echo "ok: $name showed the message box"
