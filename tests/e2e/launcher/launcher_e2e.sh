#!/bin/bash
# Only what the real programs show; the decisions are the launcher's table.
# Stand-ins note their arguments in marker files; stores are read with orvareg.
#   launcher_e2e.sh CASE SMART START UNDO ORVAREG TRACE_CHECK
set -u
case_name=$1 smart_bin=$2 start_bin=$3 undo_bin=$4 orvareg=$5 check=$6

work=$(mktemp -d "${TMPDIR:-/tmp}/orva-launcher-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd_dir="$work/cd" markers="$work/markers" linker="$work/linker/linker"
mkdir -p "$cd_dir/Libro" "$markers" "$work/registry" "$work/runtime" "$work/win" "$work/bin" "$work/linker"
chmod 700 "$work/runtime"
export QT_QPA_PLATFORM=offscreen ORVA_REGISTRY_DIR="$work/registry" XDG_RUNTIME_DIR="$work/runtime" MARKERS="$markers"
export ORVA_MACHINE_REGISTRY="$work/registry/machine.sqlite" windir="$work/win" PATH="$work/bin:$PATH"

stand_in() { printf '#!/bin/sh\necho "$*" >> "$MARKERS/%s"\n' "$2" >"$1" && chmod +x "$1"; }  # PATH NAME
# The programs sit on the CD, as they would: smart takes its own folder as the CD.
cp "$smart_bin" "$start_bin" "$cd_dir/"
stand_in "$cd_dir/OrvaPlayer" player
stand_in "$cd_dir/setup.sh" setup
stand_in "$work/bin/xdg-open" xdg-open
printf '[nuovo]\r\ndesc=OrvaPlayer 2\r\nfile=./setup.sh --quiet\r\nversione=7\r\n[vecchi]\r\ninvoice=2\r\n1=OrvaStale\r\n2=OrvaOld\r\n' \
  >"$cd_dir/smart.ini"
settings_key='HKCU\Software\VB and VBA Program Settings'
uninstall_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'

fail() {
  echo "FAIL [$case_name]: $*"
  for f in "$work"/*.trace "$work"/*.out "$markers"/*; do [ -f "$f" ] && echo "--- $f" && cat "$f"; done
  exit 1
}
set_value() { "$orvareg" set "$1" "$2" REG_SZ "$3" >/dev/null || fail "orvareg set $1 $2"; }
expect_setting() {  # expect_setting APP KEY TEXT
  local got
  got=$("$orvareg" query "$settings_key\\$1\\Default" "$2" 2>&1)
  [ "$got" = "\"$2\"=\"$3\"" ] || fail "$1/Default/$2: $got, expected \"$3\""
}
install_linker() { stand_in "$linker" linker && set_value "$settings_key\\Linker\\Default" Path "$work/linker"; }
run() {  # run NAME PROGRAM [SCRIPT LINE]...: runs in the CD folder, traced to NAME.trace
  local name=$1 program=$2 args=()
  if [ $# -gt 2 ]; then
    printf '%s\n' "${@:3}" >"$work/$name.script"
    args=(--script "$work/$name.script")
  fi
  (cd "$cd_dir" && timeout 60 "$program" --trace "$work/$name.trace" "${args[@]}" >"$work/$name.out" 2>&1 </dev/null) ||
    fail "$name ended with $?"
}
trace() {  # trace NAME PATTERN...
  "$check" "$work/$1.trace" "${@:2}" >"$work/check.out" 2>&1 || fail "trace $1: $(cat "$work/check.out")"
}
wait_marker() {  # wait_marker NAME ARGS: the stand-in ran with these arguments
  for _ in $(seq 1 50); do
    grep -qxsF -- "$2" "$markers/$1" && return 0
    sleep 0.1
  done
  fail "$1 did not run with \"$2\""
}
no_marker() { [ ! -e "$markers/$1" ] || fail "$1 ran: $(cat "$markers/$1")"; }

case "$case_name" in
  no_ini_starts_the_player_from_the_cd)
    rm "$cd_dir/smart.ini"
    run smart "$cd_dir/smart"
    trace smart "ev=dialog|kind=msgbox|title=smart|icon=critical|text~Il file ini non esiste" \
      "ev=window|window=avviocd|state=shown|caption=Avvio da cd" \
      "ev=announce|window=avviocd|text=Avvio OrvaPlayer dal CD" \
      "ev=process|program=./OrvaPlayer|args=[]|error=0|t>=1000" "ev=window|window=avviocd|state=hidden" "ev=exit|code=0"
    wait_marker player ""
    ;;

  choice_remembered_then_undone)
    run first "$cd_dir/smart" 'check 1' 'click Command1'
    trace first "ev=window|window=scelta|state=shown" "ev=setting|app=NOLinker|key=noform|value=1" \
      "ev=process|program=xdg-open|args=[\"$cd_dir/Libro\"]|error=0" "ev=exit|code=0"
    expect_setting NOLinker sfogliacd 1
    # Remembered: the next run opens the book folder without a window.
    rm -f "$markers/xdg-open"
    run second "$cd_dir/smart"
    trace second "ev=process|program=xdg-open" "ev=exit|code=0" "!ev=window"
    wait_marker xdg-open "$cd_dir/Libro"
    # undo takes the choice back; the run after it asks again.
    run undo "$undo_bin"
    trace undo "ev=exit|code=0" "!ev=dialog" "!ev=window"
    expect_setting NOLinker noform 0
    expect_setting NOLinker sfogliacd 0
    run third "$cd_dir/smart" 'close scelta'
    trace third "ev=window|window=scelta|state=shown" "ev=exit|code=0" "!ev=process"
    ;;

  installed_product_starts_through_start_and_the_linker)
    install_linker
    set_value "$uninstall_key\\OrvaPlayer 2" uninstallstring "/opt/orva/uninstall"
    run smart "$cd_dir/smart"
    trace smart "ev=window|window=avviohd|state=shown|caption=Avvio da hd" \
      "ev=announce|window=avviohd|text=Avvio OrvaPlayer da Hard Disk" \
      "ev=process|program=./start|error=0|t>=1500" "ev=exit|code=0"
    # start runs on, tells the linker where the CD is, and starts it.
    wait_marker linker ""
    expect_setting Linker CD "$cd_dir"
    no_marker player
    ;;

  *)
    echo "unknown case $case_name"
    exit 2
    ;;
esac
echo "ok: $case_name"
