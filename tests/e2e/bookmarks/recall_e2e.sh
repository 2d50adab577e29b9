#!/bin/bash
#   recall_e2e.sh CHECKER PLAYER ORVAREG SCRIPT
#
# The player on a copy of the sample book with a store of its own; after the
# run, the store must hold both bookmarks under the page's section key.
set -u
checker=$1 player=$2 orvareg=$3 script=$4
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/orva-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/registry" "$work/runtime"
chmod 700 "$work/runtime"
cp -r "$here/../../../sample-book" "$work/book"
export QT_QPA_PLATFORM=offscreen ORVA_REGISTRY_DIR="$work/registry" \
  ORVA_MACHINE_REGISTRY="$work/registry/machine.sqlite" XDG_RUNTIME_DIR="$work/runtime"
fail() {
  echo "FAIL: $*"
  cat "$work/output" "$work/trace.jsonl" 2>/dev/null
  exit 1
}

timeout 60 "$player" --book "$work/book" --audio null --script "$script" --trace "$work/trace.jsonl" \
  >"$work/output" 2>&1 </dev/null || fail "exit status $?"
"$checker" "$work/trace.jsonl" \
  "ev=bookmark|action=added|section=CAP02\\PAGINA2_1.HTM|number=1|name=Primo|position>=1" \
  "ev=bookmark|action=added|section=CAP02\\PAGINA2_1.HTM|number=2|name=Secondo|position>=5" \
  "ev=page|url~/book/Index.htm" \
  "ev=window|window=fraMarcatori|state=shown" \
  "ev=script|action=bookmark-select" \
  "ev=key|code=13|shift=0" \
  "ev=window|window=fraMarcatori|state=hidden" \
  "ev=page|url~/book/Cap02/Pagina2_1.htm" \
  "ev=media|op=file|file~pagina2_1.mp3" \
  "ev=media|op=position|seconds>=5" \
  "ev=osd|text=Secondo" \
  "ev=bookmark|action=recalled|section=CAP02\\PAGINA2_1.HTM|number=2|file~pagina2_1.mp3|position>=5" \
  "ev=exit|code=0" \
  "!ev=error-report" "!ev=script_error" || fail "the trace does not match"

stored=$("$orvareg" query 'HKCU\Software\VB and VBA Program Settings\ZUV MediaPlayer\CAP02\PAGINA2_1.HTM' 2>&1)
for value in '"1NOME"="Primo"' '"2NOME"="Secondo"'; do
  grep -qF "$value" <<<"$stored" || fail "the store does not hold $value: $stored"
done
echo "ok: both bookmarks stored, the second recalled from the index"
