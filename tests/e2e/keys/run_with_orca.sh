#!/bin/bash
# Runs a command on a display of its own beside a real screen reader, as a
# blind reader's desktop runs it:
#
#   run_with_orca.sh [--orca|--no-orca] [--speech FILE] COMMAND [ARG]...
#
# A private X server (Xvfb, on the first free display), a private session
# bus with its accessibility bus, and Orca, which switches accessibility on
# and listens for every key on that bus. Orca's speech goes to no device:
# each utterance is written to FILE (one a line; a temporary file when not
# given), and COMMAND finds its path in ORCA_SPEECH. COMMAND starts once Orca
# has said "Screen reader on." and runs with DISPLAY set. With --no-orca the
# same desktop runs without the screen reader. HOME and the XDG folders point
# into a temporary folder, so nothing of the real user's is read or written.
#
# Exit status: COMMAND's; 1 when the desktop or Orca cannot be started.
# Orca runs once per user on a machine, so runs wait for each other.
set -u

# The inner part, inside the private session bus.
if [ "${ORVA_ORCA_INNER:-}" = 1 ]; then
  with_orca=$ORVA_ORCA_WITH orca=""
  unset ORVA_ORCA_INNER ORVA_ORCA_WITH
  # shellcheck disable=SC2317  # called by the trap
  stop() {
    # Orca runs its SIGTERM handler only when its main loop next wakes,
    # seconds later; nothing of it outlives the private bus and display.
    [ -n "$orca" ] && { kill -KILL "$orca" && wait "$orca"; } 2>/dev/null
  }
  trap stop EXIT
  # The session bus starts the accessibility bus when asked for it.
  for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.1
  done
  if [ "$with_orca" = 1 ]; then
    # Orca speaks English whatever the command's locale, as the speech checks expect.
    LC_ALL=C.UTF-8 LANGUAGE='' orca -u "$ORVA_ORCA_WORK/orca" --debug-file "$ORVA_ORCA_WORK/orca-debug.txt" >"$ORVA_ORCA_WORK/orca.log" 2>&1 &
    orca=$!
    # A cold start on a busy machine takes several seconds.
    for _ in $(seq 300); do
      grep -qF "Screen reader on." "$ORCA_SPEECH" 2>/dev/null && break
      kill -0 "$orca" 2>/dev/null || break
      sleep 0.1
    done
    if ! grep -qF "Screen reader on." "$ORCA_SPEECH" 2>/dev/null; then
      echo "FAIL: Orca did not start"
      cat "$ORVA_ORCA_WORK/orca.log"
      tail -n 30 "$ORVA_ORCA_WORK/orca-debug.txt" 2>/dev/null
      exit 1
    fi
  fi
  "$@"
  exit $?
fi

with_orca=1 speech=""
while [ $# -gt 0 ]; do
  case "$1" in
    --orca) with_orca=1; shift ;;
    --no-orca) with_orca=0; shift ;;
    --speech) speech=$2; shift 2 ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--orca|--no-orca] [--speech FILE] COMMAND [ARG]..." >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null 2>&1 || { echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done
if [ "$with_orca" = 1 ]; then
  command -v orca >/dev/null 2>&1 || { echo "FAIL: orca is missing (scripts/install-deps.sh installs it)"; exit 1; }
  # One Orca per user: wait for another run's to end.
  exec 9>"${TMPDIR:-/tmp}/orva-orca-$(id -u).lock"
  flock -w 300 9 || { echo "FAIL: another run kept Orca for five minutes"; exit 1; }
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/orva-orca.XXXXXX")
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill -TERM "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/home" "$work/config" "$work/data" "$work/cache" "$work/runtime" "$work/orca"
chmod 700 "$work/runtime"
cp "$here/orca-customizations.py" "$work/orca/"
[ -n "$speech" ] || speech="$work/speech.txt"
: >"$speech"

# The first free display: Xvfb writes its number once it listens.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" 9>&- &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }

display=$(head -n 1 "$work/display")
export DISPLAY=":$display" HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
  XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime" \
  ORCA_SPEECH="$speech" ORVA_ORCA_WORK="$work" ORVA_ORCA_INNER=1 ORVA_ORCA_WITH=$with_orca GSETTINGS_BACKEND=memory
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
# The bus daemons' own notices are not the command's output. Only this
# script holds the lock, so that nothing left behind keeps it.
dbus-run-session -- "$0" "$@" 2> >(grep -v -e "^dbus-daemon\[" -e "^SpiRegistry daemon" >&2) 9>&-
