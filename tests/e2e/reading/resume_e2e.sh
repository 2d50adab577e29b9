#!/bin/bash
#   resume_e2e.sh CHECKER PLAYER ORVAREG HERE
#
# The book sits in a folder with a dot and an accent in its name, and its chapter
# folder has a dot; its first audio is beside the page and named without extension.
set -u
checker=$1 player=$2 orvareg=$3 here=$4

work=$(mktemp -d "${TMPDIR:-/tmp}/orva-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
book="$work/Città.2024/Tre audio"
mkdir -p "$work/registry" "$work/runtime" "$book/Libro"
chmod 700 "$work/runtime"
cp -r "$here/Tre audio/." "$book/"

fail() {
  echo "FAIL: $*"
  for f in "$work"/output* "$work"/*.jsonl; do
    [ -f "$f" ] && { echo "--- $(basename "$f")"; cat "$f"; }
  done
  exit 1
}

tone() { sox -n -r 8000 -c 1 -b 16 "$1" synth "$2" sine 440 vol 0.3 || fail "sox cannot make $1"; }
tone "$book/cap.01/uno.wav" 0.5
tone "$book/Libro/due.wav" 0.5
tone "$book/Libro/tre.wav" 30

export QT_QPA_PLATFORM=offscreen ORVA_REGISTRY_DIR="$work/registry" \
  ORVA_MACHINE_REGISTRY="$work/registry/machine.sqlite" XDG_RUNTIME_DIR="$work/runtime"
key='HKCU\Software\VB and VBA Program Settings\ZUV MediaPlayer\Player'
"$orvareg" set "$key" SavePos REG_SZ 1 >"$work/output-orvareg" 2>&1 || fail "orvareg cannot set SavePos"

# run SCRIPT TRACE: one run of the player on the book, with audio in real time.
run() {
  timeout 60 "$player" --book "$book" --audio null --script "$here/$1" --trace "$work/$2" \
    >"$work/output-$2" 2>&1 </dev/null
  local status=$?
  [ "$status" -eq 0 ] || fail "$1: exit status $status"
}

run leave_in_the_third_audio.script first.jsonl
"$checker" "$work/first.jsonl" \
  "ev=page|url~/Città.2024/Tre%20audio/cap.01/pagina.htm" \
  "ev=audio|file~cap.01\\uno.wav|index=0" \
  "ev=audio|file~Libro\\due.wav|index=1" \
  "ev=audio|file~Libro\\tre.wav|index=2" \
  "ev=exit_question|answer=Yes" \
  "ev=setting|key=Brano|value~/cap.01/pagina.htm" \
  "ev=setting|key=BranoPos" \
  "ev=setting|key=BranoAudio|value=2" \
  "!ev=audio_missing" "!ev=error-report" "!ev=script_error" || fail "first run: the trace does not match"

# The stored position, as a number whatever the locale's decimal sign.
stored=$(grep '"ev":"setting"' "$work/first.jsonl" | grep '"key":"BranoPos"' | tail -n 1 |
  sed -e 's/.*"value":"\([^"]*\)".*/\1/' -e 's/,/./')
awk -v p="$stored" 'BEGIN { exit !(p + 0 >= 1) }' || fail "first run: stored position \"$stored\" is not into the audio"

run come_back.script second.jsonl
"$checker" "$work/second.jsonl" \
  "ev=navigate|url~/cap.01/pagina.htm" \
  "ev=audio|file~Libro\\tre.wav|index=2" \
  "ev=media|op=position|seconds>=1" \
  "ev=exit|code=0" \
  "!ev=audio|index=0" "!ev=error-report" "!ev=script_error" || fail "second run: the trace does not match"

# The first seek after the third audio is handed over is to the stored place.
sought=$(sed -n '/"ev":"audio".*tre\.wav/,$p' "$work/second.jsonl" | grep '"op":"position"' | head -n 1 |
  sed -e 's/.*"seconds":\([-0-9.e+]*\).*/\1/')
awk -v a="$stored" -v b="$sought" 'BEGIN { d = a - b; exit !(b != "" && d < 0.01 && d > -0.01) }' ||
  fail "second run: sought to \"$sought\", stored \"$stored\""
echo "ok: resumed in audio 2 at $sought s"
