#!/bin/bash
#   daisy_e2e.sh CHECKER ORVABOOK PLAYER HERE MAKER
#
# The test generator's DAISY 2.02 book (MAKER) converted by orvabook: the
# result checks clean, and the player reads it by itself from its first page
# to its last, every section's audio in reading order, the sections that start
# mid-file from their clip. A clip whose time is no time stops the conversion
# with the SMIL file and line, and leaves no folder behind.
set -u
checker=$1 orvabook=$2 player=$3 here=$4 maker=$5

work=$(mktemp -d "${TMPDIR:-/tmp}/orva-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  for f in "$work"/output* "$work"/*.jsonl; do [ -f "$f" ] && { echo "--- $(basename "$f")"; cat "$f"; }; done
  exit 1
}

"$maker" "$work/daisy" >"$work/output-maker" 2>&1 || fail "the DAISY book cannot be made"
"$orvabook" --help | grep -q "orvabook from-daisy NCC" || fail "--help does not list from-daisy"
book="$work/Libro convertito"
"$orvabook" from-daisy "$work/daisy/ncc.html" "$book" >"$work/output-convert" 2>&1 || fail "conversion failed"
"$orvabook" check "$book" >"$work/output-check" 2>&1 || fail "the converted book does not check clean"

mkdir -p "$work/registry" "$work/runtime"
chmod 700 "$work/runtime"
QT_QPA_PLATFORM=offscreen ORVA_REGISTRY_DIR="$work/registry" ORVA_MACHINE_REGISTRY="$work/registry/machine.sqlite" \
  XDG_RUNTIME_DIR="$work/runtime" timeout 60 "$player" --book "$book" --audio fast --script "$here/read.script" \
  --trace "$work/trace.jsonl" >"$work/output-player" 2>&1 </dev/null || fail "the player ended with $?"
"$checker" "$work/trace.jsonl" \
  "ev=page|url~/Pagine/001_Libro_DAISY_di_prova.htm" "ev=audio|file~a01.mp3|index=0|position=0" \
  "ev=page|url~/Pagine/002_Capitolo_primo.htm" "ev=audio|file~a02.mp3|index=0|position=0" \
  "ev=page|url~/Pagine/003_Prima_sezione.htm" "ev=audio|file~a02.mp3|index=0|position>=3" \
  "ev=page|url~/Pagine/004_Una_sottosezione.htm" "ev=audio|file~a02.mp3|index=0|position>=7" \
  "ev=page|url~/Pagine/005_Capitolo_secondo.htm" "ev=audio|file~a03.mp3|index=0" \
  "ev=audio|file~a04.wav|index=1" "ev=audio_end|index=1" "ev=exit|code=0" \
  "!ev=audio_missing" "!ev=error-report" "!ev=script_error" || fail "the trace does not match"

cp -r "$work/daisy" "$work/bad"
sed -i '/id="as02p3"/s/clip-begin="[^"]*"/clip-begin="npt=tre"/' "$work/bad/s02.smil"
line=$(grep -n 'npt=tre' "$work/bad/s02.smil" | cut -d: -f1)
"$orvabook" from-daisy "$work/bad" "$work/nuovo" >"$work/output-bad" 2>&1
[ $? -eq 2 ] || fail "a bad book did not end with 2"
grep -qF "$work/bad/s02.smil:$line: clip-begin «npt=tre» non è un tempo" "$work/output-bad" ||
  fail "the error does not name s02.smil:$line"
[ -z "$(find "$work" -maxdepth 1 -name '*nuovo*')" ] || fail "a bad book left a folder behind"
echo "ok: converted, checked and read"
