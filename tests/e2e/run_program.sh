#!/bin/bash
# Runs one program headless and checks how it ended and what it traced.
#
#   run_program.sh CHECKER EXIT OUTPUT_TEXT PROGRAM [ARG]... -- [PATTERN]...
#
# The program runs with QT_QPA_PLATFORM=offscreen and a private settings
# store in a fresh folder; @TRACE@ in its arguments becomes the path of a
# trace file there. It must end within a minute with exit status EXIT, and
# its standard output or error must contain OUTPUT_TEXT ("-" for no check).
# With E2E_NO_DISPLAY set it runs as from a console instead: no display and
# no platform named.
# When EXIT is 2 the program must have stopped before writing any trace. The
# patterns are checked on the trace by CHECKER (trace_check). With
# E2E_USER_STORE set, that file is the user's settings store the program
# finds when it starts.
set -u
checker=$1 expected_exit=$2 expected_text=$3 program=$4
shift 4

work=$(mktemp -d "${TMPDIR:-/tmp}/orva-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
trace="$work/trace.jsonl"
mkdir -p "$work/registry" "$work/runtime"
[ -n "${E2E_USER_STORE:-}" ] && cp "$E2E_USER_STORE" "$work/registry/registry.sqlite"
chmod 700 "$work/runtime"

args=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  args+=("${1//@TRACE@/$trace}")
  shift
done
[ $# -gt 0 ] && shift  # the "--"
patterns=("$@")

platform=(QT_QPA_PLATFORM=offscreen)
[ -n "${E2E_NO_DISPLAY:-}" ] && platform=(-u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY)
env "${platform[@]}" ORVA_REGISTRY_DIR="$work/registry" ORVA_MACHINE_REGISTRY="$work/registry/machine.sqlite" \
  XDG_RUNTIME_DIR="$work/runtime" \
  timeout 60 "$program" "${args[@]}" >"$work/output" 2>&1 </dev/null
status=$?

fail() {
  echo "FAIL: $*"
  echo "--- output of $program ${args[*]}"
  cat "$work/output"
  if [ -f "$trace" ]; then
    echo "--- trace"
    cat "$trace"
  fi
  exit 1
}

[ "$status" -eq "$expected_exit" ] || fail "exit status $status, expected $expected_exit"
if [ "$expected_text" != "-" ]; then
  grep -qF -- "$expected_text" "$work/output" || fail "the output does not say: $expected_text"
fi
if [ "$expected_exit" -eq 2 ] && [ -s "$trace" ]; then
  fail "the program wrote a trace although it should have stopped first"
fi
if [ ${#patterns[@]} -gt 0 ]; then
  "$checker" "$trace" "${patterns[@]}" || fail "the trace does not match"
fi
echo "ok: $(basename "$program") ended with $status"
