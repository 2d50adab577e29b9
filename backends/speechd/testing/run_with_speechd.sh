#!/bin/bash
#   run_with_speechd.sh COMMAND [ARG]...
# Runs COMMAND beside a private speech-dispatcher that speaks into a file
# rather than a sound card: its output module writes "LANGUAGE|TEXT" when it
# starts a text and "end" two seconds later, when it has finished it (a text
# cancelled before then has no "end"). COMMAND finds the server's socket in
# ORVA_SPEECHD_SOCKET and the file in ORVA_SPEECHD_SPOKEN. Fails when
# speech-dispatcher is missing (scripts/install-deps.sh installs it).
set -u
for tool in speech-dispatcher /usr/lib/speech-dispatcher-modules/sd_generic; do
  command -v "$tool" >/dev/null || { echo "cannot run: $tool is missing (run scripts/install-deps.sh)"; exit 1; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/orva-speechd.XXXXXX")
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/conf/modules" "$work/log" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
# The module opens an audio output it never uses; libao's null one.
echo "default_driver=null" >"$work/home/.libao"
cat >"$work/conf/speechd.conf" <<CONF
LogLevel 3
LogDir "$work/log"
AudioOutputMethod "libao"
AddModule "probe" "sd_generic" "probe.conf"
DefaultModule "probe"
DefaultLanguage "en"
CONF
cat >"$work/conf/modules/probe.conf" <<CONF
GenericExecuteSynth "echo \'\$LANGUAGE|\$DATA\' >>$work/spoken; sleep 2; echo end >>$work/spoken"
GenericLanguage "en" "en" "utf-8"
GenericLanguage "it" "it" "utf-8"
AddVoice "en" "MALE1" "en"
AddVoice "it" "MALE1" "it"
CONF
: >"$work/spoken"

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
  XDG_RUNTIME_DIR="$work/runtime"
speech-dispatcher --run-single --timeout 0 --config-dir "$work/conf" --communication-method unix_socket \
  --socket-path "$work/sock" --pid-file "$work/pid" --log-dir "$work/log" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 100); do
  [ -S "$work/sock" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
[ -S "$work/sock" ] || { echo "cannot run: speech-dispatcher did not start"; cat "$work/server.log" "$work"/log/*; exit 1; }
ORVA_SPEECHD_SOCKET="$work/sock" ORVA_SPEECHD_SPOKEN="$work/spoken" "$@"
