#!/bin/sh
# Fails when a core source includes a header of Qt, mpv, SQLite or hivex.
# The core holds the behaviour; only backends and apps may see those libraries.
top=${1:-.}
cd "$top" || exit 2
hits=$(grep -rn -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/|mpv/|sqlite3|hivex)' \
  common fakes player launcher tools 2>/dev/null)
if [ -n "$hits" ]; then
  echo "Core sources must not include platform headers:"
  echo "$hits"
  exit 1
fi
echo "core is pure"
