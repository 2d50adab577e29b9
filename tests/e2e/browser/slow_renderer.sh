#!/bin/sh
# Starts the web engine's first page process three seconds late, as a cold
# start on a slow machine does; later ones start at once. The engine runs it
# through --renderer-cmd-prefix; the run's own runtime folder marks the start.
marker="${XDG_RUNTIME_DIR:-/tmp}/orva-slow-renderer-started"
if [ ! -e "$marker" ]; then
  : >"$marker"
  sleep 3
fi
exec "$@"
