#!/bin/sh
# orvareg on a private store: import, query, export, exit codes, --help.
set -u
tool=$1
dir=$2
rm -rf "$dir" && mkdir -p "$dir"
export ORVA_REGISTRY_DIR="$dir"
export ORVA_MACHINE_REGISTRY="$dir/machine.sqlite"
fail() { echo "FAIL: $*"; exit 1; }

"$tool" --help | grep -q "orvareg import FILE" || fail "--help"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\ZUV MediaPlayer\\Player]\r\n"Volume"="35"\r\n' >"$dir/in.reg"
"$tool" import "$dir/in.reg" >/dev/null || fail "import"
[ "$("$tool" query 'HKCU\Software\VB and VBA Program Settings\ZUV MediaPlayer\Player' Volume)" = '"Volume"="35"' ] ||
  fail "query after import (a new process reads the committed store)"
"$tool" export 'HKCU\Software\VB and VBA Program Settings' "$dir/out.reg" >/dev/null || fail "export"
grep -q '"Volume"="35"' "$dir/out.reg" || fail "exported file"
printf 'REGEDIT4\r\n[HKCU\\X]\r\n"a"=dword:zz\r\n' >"$dir/bad.reg"
"$tool" /s "$dir/bad.reg" 2>/dev/null
[ $? -eq 1 ] || fail "partly applied import exits 1"
"$tool" import "$dir/missing.reg" 2>/dev/null
[ $? -eq 2 ] || fail "missing file exits 2"
[ -f "$dir/registry.sqlite" ] || fail "store in ORVA_REGISTRY_DIR"
echo "orvareg works"
