#!/bin/bash
# Installs the build as a reader gets it, into a temporary prefix or from the
# Debian package unpacked into a temporary root, and opens the installed
# sample book with the installed player by the menu entry's own command.
#   installed_player.sh prefix|package BUILD_DIR CMAKE CPACK CHECKER E2E_DIR
set -u
mode=$1 build=$2 cmake=$3 cpack=$4 checker=$5 e2e=$6
work=$(mktemp -d "${TMPDIR:-/tmp}/orva-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" && exit 1; }

if [ "$mode" = prefix ]; then
  "$cmake" --install "$build" --prefix "$work/usr" || fail "cmake --install"
else
  "$cpack" --config "$build/CPackConfig.cmake" -B "$work/deb" || fail "cpack"
  # The libraries the programs link, and the web engine's helper process,
  # which no program links but without which no page shows.
  depends=$(dpkg-deb -f "$work"/deb/*.deb Depends | tr ',' '\n' | sed 's/^ *//; s/[ (].*//')
  for needed in libqt6webenginecore6 libqt6webenginecore6-bin libmpv2 libhivex0 libsqlite3-0; do
    grep -qx "$needed" <<<"$depends" || fail "the package does not depend on $needed: ${depends//$'\n'/ }"
  done
  dpkg-deb -x "$work"/deb/*.deb "$work" || fail "dpkg-deb -x"
fi

root=$work/usr id=org.orvaplayer.OrvaPlayer
for file in applications/$id.desktop metainfo/$id.metainfo.xml icons/hicolor/scalable/apps/$id.svg; do
  [ -s "$root/share/$file" ] || fail "$file is not installed"
done
! command -v appstreamcli >/dev/null || appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" ||
  fail "the metadata do not validate"
for program in OrvaPlayer smart start undo orvareg; do
  zgrep -q "^\.SH SYNOPSIS" "$root/share/man/man1/$program.1.gz" || fail "no manual page for $program"
  QT_QPA_PLATFORM=offscreen "$root/bin/$program" --help >/dev/null 2>&1 || fail "the installed $program does not run"
done

# As a file manager's "Open with" runs it: the entry's command, %f the index page.
book=$root/share/orvaplayer/sample-book
read -ra command <<<"$(sed -n "/^Exec=/{s/^Exec=//; s|%f|$book/Index.htm|; p}" "$root/share/applications/$id.desktop")"
PATH="$root/bin:$PATH" "$e2e/run_program.sh" "$checker" 0 - "${command[@]}" --audio fast \
  --script "$e2e/cases/leave_after_splash.script" --trace @TRACE@ -- "ev=start|book=$book" \
  "ev=page|url~$book/Index.htm" "ev=audio|file~Libro/indice.mp3|index=0" "ev=audio_end|index=0" "ev=exit|code=0" \
  "!ev=audio_missing" "!ev=error-report" "!ev=script_error"
