#!/bin/bash
# Runs one program headless and checks how it ended and what it traced.
#
#   run_program.sh CHECKER EXIT OUTPUT_TEXT PROGRAM [ARG]... -- [PATTERN]...
#
# Headless (E2E_NO_DISPLAY: no display at all), on a private store (a copy of
# E2E_USER_STORE if set); @TRACE@ becomes the trace's path. OUTPUT_TEXT "-": no
# check; with EXIT 2 no trace may have been written.
set -u
checker=$1 expected_exit=$2 expected_text=$3 program=$4
shift 4

work=$(mktemp -d "${TMPDIR:-/tmp}/orva-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
trace="$work/trace.jsonl"
mkdir -p "$work/registry" "$work/runtime"
chmod 700 "$work/runtime"
[ -n "${E2E_USER_STORE:-}" ] && cp "$E2E_USER_STORE" "$work/registry/registry.sqlite"

args=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  args+=("${1//@TRACE@/$trace}")
  shift
done
[ $# -gt 0 ] && shift  # the "--"

platform=(QT_QPA_PLATFORM=offscreen)
[ -n "${E2E_NO_DISPLAY:-}" ] && platform=(-u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY)
env "${platform[@]}" ORVA_REGISTRY_DIR="$work/registry" ORVA_MACHINE_REGISTRY="$work/registry/machine.sqlite" \
  XDG_RUNTIME_DIR="$work/runtime" timeout 60 "$program" "${args[@]}" >"$work/output" 2>&1 </dev/null
status=$?

fail() {
  echo "FAIL: $*"
  echo "--- output of $program ${args[*]}" && cat "$work/output"
  [ -f "$trace" ] && echo "--- trace" && cat "$trace"
  exit 1
}
[ "$status" -eq "$expected_exit" ] || fail "exit status $status, expected $expected_exit"
[ "$expected_text" = "-" ] || grep -qF -- "$expected_text" "$work/output" || fail "the output does not say: $expected_text"
[ "$expected_exit" -eq 2 ] && [ -s "$trace" ] && fail "the program wrote a trace although it should have stopped first"
[ $# -eq 0 ] || "$checker" "$trace" "$@" || fail "the trace does not match"
echo "ok: $(basename "$program") ended with $status"
