#!/bin/bash
# Runs a program as it runs beside a screen reader: on its own X display,
# with its own session bus whose accessibility bus is switched on (as a
# screen reader switches it on), and a private runtime folder so that runs
# side by side do not share an accessibility bus. Exits 77 (skipped) when
# the tools for it are missing.
set -u
for tool in dbus-run-session dbus-send xvfb-run xauth /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is missing"; exit 77; }
done
runtime=$(mktemp -d "${TMPDIR:-/tmp}/orva-atspi.XXXXXX")
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb
dbus-run-session -- bash -c '
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled variant:boolean:true >/dev/null ||
    { echo "skipped: no accessibility bus"; exit 77; }
  xvfb-run -a "$@"' bash "$@" 2> >(grep -v "Failed to set fd limit" >&2)
