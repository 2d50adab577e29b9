#!/bin/bash
#   session.sh PLAYER ORVAREG OUT
# A blind reader's session with the player on a copy of the sample book,
# pressed with real keys on the display run_with_orca.sh gives, beside Orca;
# then check.py checks what Orca said. OUT keeps spoken.txt (Orca's every
# utterance and, marked ">", this script's every step, each after its time in
# ms), the player's trace.jsonl and its output.txt.
set -u
player=$1 orvareg=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
# Orca's own Python, which has the accessibility bindings.
python=$(sed -n '1s/^#! *//p' "$(command -v orca)")
work=$(mktemp -d "${TMPDIR:-/tmp}/orva-session.XXXXXX")
pid=""
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; cp "$ORCA_SPEECH" "$out/spoken.txt"; rm -rf "$work"' EXIT
mkdir -p "$work/registry" "$out"
cp -r "$here/../../../sample-book" "$work/book"
export ORVA_REGISTRY_DIR="$work/registry" ORVA_MACHINE_REGISTRY="$work/registry/machine.sqlite"
fail() {
  echo "FAIL: $*"
  cat "$ORCA_SPEECH"
  exit 1
}

# The page holds one bookmark already; the reader adds a second.
key='HKCU\Software\VB and VBA Program Settings\ZUV MediaPlayer\CAP02\PAGINA2_1.HTM'
for value in 1=3 1NOME=Primo 1NOMEAUDIO=pagina2_1.mp3; do
  "$orvareg" set "$key" "${value%%=*}" REG_SZ "${value#*=}" >/dev/null || fail "orvareg cannot set $value"
done

trace="$out/trace.jsonl"
rm -f "$trace"
QT_QPA_PLATFORM=xcb "$player" --book "$work/book" --audio null --script "$here/session.script" \
  --trace "$trace" >"$out/output.txt" 2>&1 &
pid=$!

step() { echo "$(date +%s%3N)	> $*" >>"$ORCA_SPEECH"; }
# wait_until SECONDS CHECK...
wait_until() {
  for _ in $(seq $(($1 * 10))); do
    "${@:2}" >/dev/null 2>&1 && return 0
    kill -0 $pid 2>/dev/null || fail "the player ended early"
    sleep 0.1
  done
  fail "waited in vain for: ${*:2}"
}
# Until Orca has been quiet for 0.8 s (at most 8 s).
settle() {
  local size quiet=0
  for _ in $(seq 40); do
    size=$(stat -c %s "$ORCA_SPEECH")
    sleep 0.2
    [ "$(stat -c %s "$ORCA_SPEECH")" = "$size" ] && quiet=$((quiet + 1)) || quiet=0
    [ $quiet -ge 4 ] && return
  done
}
# A window manager gives the focus to a window when it appears, and back to
# the main window when a dialog of it closes; this desktop has none.
focus() {
  step "focus"
  xdotool windowfocus --sync "$window"
  settle
}
press() {
  for keys in "$@"; do
    step "press $keys"
    xdotool key "$keys"
    settle
  done
}
type_text() {
  step "type $1"
  xdotool type --delay 50 "$1"
  settle
}
dialog() {
  wait_until 10 xdotool search --onlyvisible --name "$1"
  settle
}
# Focus given before the player has joined the accessibility bus is lost to
# Orca (docs/accessibility.md); the window is focused once it has.
joined() {
  "$python" -c 'import pyatspi, sys; sys.exit("OrvaPlayer" not in [a.name for a in pyatspi.Registry.getDesktop(0)])'
}

wait_until 30 joined
wait_until 30 xdotool search --onlyvisible --pid $pid
window=$(xdotool search --onlyvisible --pid $pid | head -n 1)
focus
wait_until 60 grep -qF '"text":"session"' "$trace"
press ctrl+3 alt+equal ctrl+0
# The configuration panel, its controls one by one, a speed that is not a
# number (an error report says so), then its Chiudi button.
press ctrl+8 Tab Tab Tab Tab Tab Tab Tab
type_text x
dialog Segnalazioni
press Return
focus
press Tab Return
# A bookmark named in its prompt, then the page's bookmark list.
press alt+3
dialog "Inserimento Marcatori"
type_text Secondo
press Return
focus
press alt+6 Down Escape
# Leaving: the window is closed as with Alt+F4; Enter answers Sì.
step "close"
"$python" "$here/close_window.py" "$window"
dialog "^ORVA Player$"
press Return
wait $pid
status=$?
pid=""
sleep 1
cp "$ORCA_SPEECH" "$out/spoken.txt"
echo "What Orca said: $out/spoken.txt"
[ $status -eq 0 ] || fail "the player ended with $status"
"$python" "$here/check.py" "$out/spoken.txt" "$trace" || { cat "$out/spoken.txt"; exit 1; }
