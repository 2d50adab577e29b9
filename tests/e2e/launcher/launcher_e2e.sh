#!/bin/bash
# The real smart, start and undo, headless, on a CD made in a temporary
# folder. Shell scripts stand in for the installer, the player, the linker
# and xdg-open; each writes a marker file when it runs. The settings store
# and the machine's uninstall entries live in the same folder and are read
# and prepared with orvareg.
#
#   launcher_e2e.sh CASE SMART START UNDO ORVAREG TRACE_CHECK
set -u
case_name=$1 smart_bin=$2 start_bin=$3 undo_bin=$4 orvareg=$5 check=$6

work=$(mktemp -d "${TMPDIR:-/tmp}/orva-launcher-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd_dir="$work/cd"
markers="$work/markers"
mkdir -p "$cd_dir/Libro" "$markers" "$work/registry" "$work/runtime" "$work/win" "$work/bin" "$work/linker"
chmod 700 "$work/runtime"
export QT_QPA_PLATFORM=offscreen
export ORVA_REGISTRY_DIR="$work/registry"
export ORVA_MACHINE_REGISTRY="$work/registry/machine.sqlite"
export XDG_RUNTIME_DIR="$work/runtime"
export windir="$work/win"
export PATH="$work/bin:$PATH"
export MARKERS="$markers"

# The programs sit on the CD, as they would: smart takes its own folder as the CD.
cp "$smart_bin" "$cd_dir/smart"
cp "$start_bin" "$cd_dir/start"

stand_in() {  # stand_in PATH NAME: a program that notes its run and its arguments
  printf '#!/bin/sh\necho "$*" >> "$MARKERS/%s"\n' "$2" >"$1"
  chmod +x "$1"
}
stand_in "$cd_dir/OrvaPlayer" player
stand_in "$cd_dir/setup.sh" setup
stand_in "$work/bin/xdg-open" xdg-open
linker="$work/linker/linker"

settings_key='HKCU\Software\VB and VBA Program Settings'
uninstall_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'

fail() {
  echo "FAIL [$case_name]: $*"
  for f in "$work"/*.trace "$work"/*.out; do
    [ -f "$f" ] && { echo "--- $(basename "$f")"; cat "$f"; }
  done
  for f in "$markers"/*; do
    [ -f "$f" ] && { echo "--- marker $(basename "$f")"; cat "$f"; }
  done
  exit 1
}

write_ini() {  # write_ini [INVOICE] [CD VERSION]
  printf '[nuovo]\r\ndesc=OrvaPlayer 2\r\nfile=./setup.sh --quiet\r\nversione=%s\r\n[vecchi]\r\ninvoice=%s\r\n1=OrvaStale\r\n2=OrvaOld\r\n' \
    "${2:-7}" "${1:-2}" >"$cd_dir/smart.ini"
}

set_value() {  # set_value KEY NAME TEXT
  "$orvareg" set "$1" "$2" REG_SZ "$3" >/dev/null || fail "orvareg set $1 $2"
}
setting() {  # setting APP KEY: the stored text, or <none>
  local line
  line=$("$orvareg" query "$settings_key\\$1\\Default" "$2" 2>/dev/null) || { echo "<none>"; return; }
  line=${line#*=\"}
  echo "${line%\"}"
}
expect_setting() {  # expect_setting APP KEY TEXT
  local got
  got=$(setting "$1" "$2")
  [ "$got" = "$3" ] || fail "$1/Default/$2 is \"$got\", expected \"$3\""
}
entry_exists() { "$orvareg" query "$uninstall_key\\$1" >/dev/null 2>&1; }
install_linker() {
  stand_in "$linker" linker
  set_value "$settings_key\\Linker\\Default" Path "$work/linker"
}

run() {  # run NAME PROGRAM [ARG]...: runs headless in the CD folder with a trace NAME.trace
  local name=$1 program=$2
  shift 2
  (cd "$cd_dir" && timeout 60 "$program" --trace "$work/$name.trace" "$@" >"$work/$name.out" 2>&1 </dev/null)
  local status=$?
  [ $status -eq 0 ] || fail "$name ended with $status"
}
trace() {  # trace NAME PATTERN...
  local name=$1
  shift
  "$check" "$work/$name.trace" "$@" >"$work/check.out" 2>&1 || fail "trace $name: $(cat "$work/check.out")"
}
wait_marker() {  # wait_marker NAME TEXT: the stand-in ran with these arguments
  for _ in $(seq 1 50); do
    [ -f "$markers/$1" ] && grep -qxF -- "$2" "$markers/$1" && return 0
    sleep 0.1
  done
  fail "$1 did not run with \"$2\""
}
no_marker() { [ ! -e "$markers/$1" ] || fail "$1 ran: $(cat "$markers/$1")"; }
script() {  # script NAME LINE...: writes NAME.script
  printf '%s\n' "${@:2}" >"$work/$1.script"
  echo "$work/$1.script"
}

case "$case_name" in
  no_ini)
    run smart "$cd_dir/smart"
    trace smart "ev=start|program=smart|headless=true" \
      "ev=dialog|kind=msgbox|title=smart|icon=critical|text=Il file ini non esiste in questa stessa cartella, avvio OrvaPlayer da CD" \
      "ev=window|window=avviocd|state=shown|caption=Avvio da cd" \
      "ev=announce|window=avviocd|text=Avvio OrvaPlayer dal CD" \
      "ev=process|program=./OrvaPlayer|args=[]|error=0|t>=1000" \
      "ev=window|window=avviocd|state=hidden" "ev=exit|code=0"
    wait_marker player ""
    ;;

  choice_countdown)
    write_ini
    # The countdown is set to its last second rather than waited out.
    run smart "$cd_dir/smart" --script "$(script countdown 'wait 300' 'type 1')"
    trace smart "ev=window|window=scelta|state=shown" \
      "ev=window|window=avviocd|state=shown" "ev=window|window=scelta|state=hidden" \
      "ev=process|program=./OrvaPlayer|error=0" "ev=exit|code=0" "!ev=setting"
    wait_marker player ""
    expect_setting NOLinker noform "<none>"
    ;;

  choice_browse_remembered_then_undone)
    write_ini
    run first "$cd_dir/smart" --script "$(script browse 'check 1' 'click Command1')"
    trace first "ev=window|window=scelta|state=shown" \
      "ev=setting|app=NOLinker|key=noform|value=1" "ev=setting|app=NOLinker|key=sfogliacd|value=1" \
      "ev=process|program=xdg-open|args=[\"$cd_dir/Libro\"]|error=0" "ev=exit|code=0"
    expect_setting NOLinker noform 1
    expect_setting NOLinker sfogliacd 1
    # Remembered: the next run opens the book folder without a window.
    rm -f "$markers/xdg-open"
    run second "$cd_dir/smart"
    trace second "ev=process|program=xdg-open|args=[\"$cd_dir/Libro\"]" "ev=exit|code=0" "!ev=window"
    wait_marker xdg-open "$cd_dir/Libro"
    # undo takes the choice back; the run after it asks again.
    run undo "$undo_bin"
    trace undo "ev=setting|app=NOLinker|key=noform|value=0" "ev=setting|app=NOLinker|key=sfogliacd|value=0" \
      "ev=exit|code=0" "!ev=dialog" "!ev=window"
    expect_setting NOLinker noform 0
    expect_setting NOLinker sfogliacd 0
    run third "$cd_dir/smart" --script "$(script close 'close scelta')"
    trace third "ev=window|window=scelta|state=shown" "ev=window|window=scelta|state=hidden" "ev=exit|code=0" \
      "!ev=process"
    ;;

  choice_install_stores_nothing)
    write_ini
    run smart "$cd_dir/smart" --script "$(script install 'check 1' 'click installa')"
    trace smart "ev=process|command_line=./setup.sh --quiet|error=0" "ev=exit|code=0" "!ev=setting"
    wait_marker setup "--quiet"
    expect_setting NOLinker noform "<none>"
    ;;

  old_version_installs)
    write_ini
    install_linker
    mkdir -p "$work/old"
    stand_in "$work/old/uninstall" old-uninstall
    set_value "$uninstall_key\\OrvaStale" uninstallstring "$work/gone/uninstall --purge"
    set_value "$uninstall_key\\OrvaOld" uninstallstring "$work/old/uninstall --purge --quiet"
    run smart "$cd_dir/smart"
    trace smart "ev=registry-key-deleted|root=HKEY_LOCAL_MACHINE|key~Uninstall\\OrvaStale" \
      "ev=window|window=vecchia|state=shown|caption=Rilevamento versione OrvaPlayer" \
      "ev=process|command_line=./setup.sh --quiet|error=0|t>=2000" "ev=exit|code=0"
    wait_marker setup "--quiet"
    entry_exists OrvaStale && fail "the stale entry is still there"
    entry_exists OrvaOld || fail "the entry of the installed old version was deleted"
    no_marker old-uninstall
    ;;

  installed_product_starts_from_hard_disk)
    write_ini
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

  older_cd_starts_from_hard_disk)
    write_ini 0 5
    install_linker
    printf '[installation]\r\nversione=7\r\n' >"$work/win/orvaplayer.ini"
    run smart "$cd_dir/smart"
    trace smart "ev=window|window=avviohd|state=shown" "ev=process|program=./start" "ev=exit|code=0"
    wait_marker linker ""
    ;;

  same_version_installs)
    write_ini 0 7
    install_linker
    printf '[installation]\r\nversione=7\r\n' >"$work/win/orvaplayer.ini"
    run smart "$cd_dir/smart"
    trace smart "ev=window|window=vecchia|state=shown" "ev=process|command_line=./setup.sh --quiet" "ev=exit|code=0"
    wait_marker setup "--quiet"
    ;;

  start_without_linker)
    run start "$cd_dir/start"
    trace start "ev=dialog|kind=msgbox|title=Start|icon=information|text~OrvaPlayerLink non trovato." \
      "ev=process|program=./OrvaPlayer|style=normal|error=0" "ev=exit|code=0" "!ev=setting" "!ev=window"
    wait_marker player ""
    ;;

  start_linker_moved)
    set_value "$settings_key\\Linker\\Default" Path "$work/linker"
    run start "$cd_dir/start"
    trace start "ev=setting|app=Linker|key=CD|value=$cd_dir" \
      "ev=dialog|kind=msgbox|title=Start|icon=information|text~Il file Linker.exe è stato spostato o rinominato" \
      "ev=process|program=./OrvaPlayer|style=normal|error=0" "ev=exit|code=0"
    wait_marker player ""
    expect_setting Linker CD "$cd_dir"
    ;;

  start_runs_linker)
    install_linker
    run start "$cd_dir/start"
    trace start "ev=setting|app=Linker|key=CD|value=$cd_dir" \
      "ev=process|program=$linker|style=maximized|error=0" "ev=exit|code=0" "!ev=dialog"
    wait_marker linker ""
    no_marker player
    ;;

  *)
    echo "unknown case $case_name"
    exit 2
    ;;
esac
echo "ok: $case_name"
