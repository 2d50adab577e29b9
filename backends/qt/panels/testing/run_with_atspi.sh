#!/bin/bash
# Runs a program as it runs beside a screen reader: on its own X display,
# with its own session bus whose accessibility bus is switched on (as a
# screen reader switches it on), and a private runtime folder so that runs
# side by side do not share an accessibility bus. Fails when the tools for
# it are missing (scripts/install-deps.sh installs them): a check of what a
# screen reader hears must not pass without being made.
set -u
for tool in dbus-run-session dbus-send xvfb-run xauth /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null 2>&1 || { echo "cannot run: $tool is missing (run scripts/install-deps.sh)"; exit 1; }
done
runtime=$(mktemp -d "${TMPDIR:-/tmp}/orva-atspi.XXXXXX")
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
# Switching the accessibility bus on makes its launcher write the desktop's
# accessibility setting: into memory here, not into the user's settings.
export XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb GSETTINGS_BACKEND=memory
dbus-run-session -- bash -c '
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled variant:boolean:true >/dev/null ||
    { echo "cannot run: no accessibility bus came up"; exit 1; }
  xvfb-run -a "$@"' bash "$@" 2> >(grep -v "Failed to set fd limit" >&2)
