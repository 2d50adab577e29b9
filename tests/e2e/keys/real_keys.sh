#!/bin/bash
# Runs the player on the display run_with_orca.sh gives and, once its script
# writes the note "real keys", presses Ctrl+3, Ctrl+3 and Alt+= (the "+" key)
# there as a keyboard does. Each press must run its command exactly once: the
# trace then holds KEY_EVENTS "key" events, the script's included.
#
#   real_keys.sh TRACE KEY_EVENTS PLAYER [ARG]...
set -u
trace=$1 expected=$2
shift 2
QT_QPA_PLATFORM=xcb "$@" &
player=$!

for _ in $(seq 450); do
  grep -qF '"text":"real keys"' "$trace" 2>/dev/null || { kill -0 $player 2>/dev/null && sleep 0.1 && continue; }
  # Without a window manager nothing else gives the window the focus.
  window=$(xdotool search --onlyvisible --pid $player | head -n 1)
  xdotool windowfocus --sync "$window" key ctrl+3 sleep 0.4 key ctrl+3 sleep 0.2 key alt+equal
  break
done

wait $player
status=$?
ran=$(grep -c '"ev":"key",' "$trace")
[ "$ran" -eq "$expected" ] || { echo "FAIL: $ran key commands ran for $expected key presses"; exit 1; }
exit $status
