#!/bin/bash
#   export_import_e2e.sh CHECKER PLAYER ORVAREG SCRIPT
#
# Bookmark export and import through the bookmark panel's file chooser, in
# the real player on the sample book, with a store, a home and a data folder
# of its own. The home holds the files the old program wrote and a hostile
# file that names keys outside the player's settings; a key outside them is
# set first and must come through unchanged.
set -u
checker=$1 player=$2 orvareg=$3 script=$4
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/orva-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/registry" "$work/runtime" "$work/home" "$work/data"
chmod 700 "$work/runtime"
cp "$here/../../../player/registry/testing/esportato_vecchio."{reg,zuv} "$work/home/"
printf '%s\r\n' REGEDIT4 '' '[-HKEY_CURRENT_USER\Software\Altro]' '' '[HKEY_CURRENT_USER\Software\Altro]' \
  '"Valore"="dopo"' '' '[HKEY_CURRENT_USER\Software\VB and VBA Program Settings\ZUV MediaPlayer\OSTILE.HTM]' \
  '"1NOME"="dentro"' >"$work/home/ostile.reg"
export QT_QPA_PLATFORM=offscreen ORVA_REGISTRY_DIR="$work/registry" HOME="$work/home" \
  ORVA_MACHINE_REGISTRY="$work/registry/machine.sqlite" XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/data"
fail() {
  echo "FAIL: $*"
  cat "$work/output" "$work/trace.jsonl" 2>/dev/null
  exit 1
}
settings='HKCU\Software\VB and VBA Program Settings\ZUV MediaPlayer'
"$orvareg" set 'HKCU\Software\Altro' Valore REG_SZ prima >/dev/null || fail "orvareg set"

timeout 90 "$player" --book "$here/../../../sample-book" --audio null --script "$script" \
  --trace "$work/trace.jsonl" >"$work/output" 2>&1 </dev/null || fail "exit status $?"
"$checker" "$work/trace.jsonl" \
  "ev=bookmark_file|action=imported|file~esportato_vecchio.zuv" \
  "ev=bookmark_file|action=imported|file~esportato_vecchio.reg|skipped_blocks=0|skipped_lines=0" \
  "ev=bookmark_file|action=imported|file~ostile.reg|skipped_blocks>=2" \
  "ev=bookmark|action=added|name=Primo" \
  "ev=bookmark_file|action=exported|file~segnalibri.REG" \
  "ev=bookmark|action=deleted" \
  "ev=bookmark_file|action=imported|file~segnalibri.REG" \
  "ev=exit|code=0" \
  "!ev=error-report" "!ev=script_error" "!ev=bookmark_file|action=import_failed" || fail "the trace does not match"

expect() {  # KEY VALUE-LINE: orvareg query KEY shows the line
  grep -qF -- "$2" <<<"$("$orvareg" query "$1" 2>&1)" || fail "$1 does not hold $2: $("$orvareg" query "$1" 2>&1)"
}
expect "$settings\\CAP02\\PAGINA2_1.HTM" '"1NOME"="Primo"'
expect "$settings\\LIBRO\\CAP02.HTM" 'nel giardino'
expect "$settings\\OSTILE.HTM" '"1NOME"="dentro"'
expect 'HKCU\Software\Altro' '"Valore"="prima"'
[ -s "$work/data/orvaplayer/ZUVPlayer_Backup.reg" ] || fail "no backup in the data folder"
echo "ok: exported, deleted, imported back; the old program's files read; nothing outside the settings changed"
