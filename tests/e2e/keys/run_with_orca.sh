#!/bin/bash
#   run_with_orca.sh [--orca|--no-orca] COMMAND [ARG]...
# Runs COMMAND as a blind reader's desktop does: on a private Xvfb display and
# session bus, beside Orca listening for every key on the accessibility bus
# (--no-orca: without it), from the moment Orca says "Screen reader on.", with
# HOME and the XDG folders in a temporary folder. ORVA_ORCA_DEBUG, an absolute
# path, keeps Orca's debug log there. docs/automation.md tells more.
# Exit status: COMMAND's; 1 when the desktop or Orca cannot start.
set -u

# wait_for TENTHS PID CHECK...: up to TENTHS tenths of a second while PID lives.
wait_for() {
  local tenths=$1 pid=$2
  shift 2
  for _ in $(seq "$tenths"); do
    "$@" >/dev/null 2>&1 && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  "$@" >/dev/null 2>&1
}

# The inner part, inside the private session bus.
if [ "${ORVA_ORCA_INNER:-}" = 1 ]; then
  unset ORVA_ORCA_INNER
  # The session bus starts the accessibility bus when asked for it.
  wait_for 100 $$ dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress
  if [ "$ORVA_ORCA_WITH" = 1 ]; then
    # English speech whatever the command's locale.
    LC_ALL=C.UTF-8 LANGUAGE='' orca ${ORVA_ORCA_DEBUG:+--debug-file "$ORVA_ORCA_DEBUG"} -u "$ORVA_ORCA_WORK/orca" >"$ORVA_ORCA_WORK/orca.log" 2>&1 &
    orca=$!
    # Orca runs its SIGTERM handler only when its main loop next wakes,
    # seconds later; nothing of it may outlive the private bus and display.
    trap 'kill -KILL $orca 2>/dev/null; wait $orca 2>/dev/null' EXIT
    # A cold start on a busy machine takes several seconds.
    wait_for 300 $orca grep -qF "Screen reader on." "$ORCA_SPEECH" ||
      { echo "FAIL: Orca did not start"; cat "$ORVA_ORCA_WORK/orca.log"; exit 1; }
  fi
  "$@"
  exit $?
fi

with_orca=1
case "${1:-}" in
  --orca) shift ;;
  --no-orca) with_orca=0; shift ;;
esac
[ $# -gt 0 ] || { echo "usage: $0 [--orca|--no-orca] COMMAND [ARG]..." >&2; exit 1; }
tools="Xvfb dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher"
[ "$with_orca" = 1 ] && tools="$tools orca"
for tool in $tools; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done
if [ "$with_orca" = 1 ]; then
  # Orca runs once per user on a machine: wait for another run's to end.
  exec 9>"${TMPDIR:-/tmp}/orva-orca-$(id -u).lock"
  flock -w 300 9 || { echo "FAIL: another run kept Orca for five minutes"; exit 1; }
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/orva-orca.XXXXXX")
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb"; rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/config" "$work/data" "$work/cache" "$work/runtime" "$work/orca"
chmod 700 "$work/runtime"
cp "$(dirname "$0")/orca-customizations.py" "$work/orca/"
: >"$work/speech.txt"

# The first free display: Xvfb writes its number once it listens.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" 9>&- &
xvfb=$!
wait_for 100 $xvfb test -s "$work/display" || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }

DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
  XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime" \
  ORCA_SPEECH="$work/speech.txt" ORVA_ORCA_WORK="$work" ORVA_ORCA_INNER=1 ORVA_ORCA_WITH=$with_orca \
  GSETTINGS_BACKEND=memory
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
# The bus daemons' own notices are not the command's output. Only this
# script holds the lock, so that nothing left behind keeps it.
dbus-run-session -- "$0" "$@" 2> >(grep -v -e "^dbus-daemon\[" -e "^SpiRegistry daemon" >&2) 9>&-
