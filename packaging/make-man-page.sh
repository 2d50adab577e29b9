#!/bin/bash
# Writes a program's manual page, gzipped, from what its --help prints.
#
#   make-man-page.sh PROGRAM OUTPUT.gz VERSION
#
# The help text is the single place where a program's options are described;
# the page is made from it at build time so the two never drift apart. The
# first line is the usage line, the first paragraph after it the summary; a
# line at the margin that ends with ":" starts a subsection, and everything
# else is kept line for line so the option columns stay aligned.
set -euo pipefail
program=$1 output=$2 version=$3
name=$(basename "$program")

work=$(mktemp -d "${TMPDIR:-/tmp}/orva-man.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/registry" "$work/runtime"
chmod 700 "$work/runtime"

# Headless, on a throw-away store, and without the leak report of a sanitizer
# build, which would turn a correct help text into a failed build.
if ! env QT_QPA_PLATFORM=offscreen ORVA_REGISTRY_DIR="$work/registry" \
  ORVA_MACHINE_REGISTRY="$work/registry/machine.sqlite" XDG_RUNTIME_DIR="$work/runtime" \
  ASAN_OPTIONS=detect_leaks=0 timeout 60 "$program" --help >"$work/help" 2>"$work/errors" </dev/null; then
  echo "$name --help failed:" >&2
  cat "$work/errors" >&2
  exit 1
fi
if ! head -n 1 "$work/help" | grep -qE '^(Usage|Uso): '; then
  echo "$name --help does not start with a usage line:" >&2
  cat "$work/help" >&2
  exit 1
fi

awk -v name="$name" -v version="$version" '
  # roff reads a backslash as an escape and a leading dot or quote as a
  # request; a plain "-" may be printed as a hyphen that cannot be copied
  # into a shell.
  function roff(s) {
    gsub(/\\/, "\\e", s)
    gsub(/-/, "\\-", s)
    if (s ~ /^[.'\'']/) s = "\\&" s
    return s
  }
  NR == 1 {
    usage = $0
    sub(/^[^:]*: */, "", usage)
    sub("^" name " *", "", usage)
    next
  }
  state == 0 && /^$/ { next }
  state == 0 { summary = summary (summary == "" ? "" : " ") $0; state = 1; next }
  state == 1 && !/^$/ { summary = summary " " $0; next }
  state == 1 { state = 2; next }
  { body[++lines] = $0 }
  END {
    short = summary
    sub(/[.:] .*$/, "", short)
    sub(/[.:]$/, "", short)
    print ".TH \"" toupper(name) "\" \"1\" \"\" \"OrvaPlayer " version "\" \"OrvaPlayer\""
    print ".nh"
    print ".ad l"
    print ".SH NAME"
    print roff(name) " \\- " roff(short)
    print ".SH SYNOPSIS"
    print ".B " roff(name)
    print roff(usage)
    print ".SH DESCRIPTION"
    print roff(summary)
    filled = 1
    for (i = 1; i <= lines; i++) {
      line = body[i]
      if (line ~ /^[^ ].*:$/) {
        if (!filled) print ".fi"
        sub(/:$/, "", line)
        line = roff(line)
        gsub(/"/, "\\(dq", line)  # a quote would end the macro argument
        print ".SS " line
        filled = 1
        continue
      }
      if (line == "" && (i == lines || body[i + 1] ~ /^[^ ].*:$/)) continue
      if (filled) { print ".PP"; print ".nf"; filled = 0 }
      print (line == "" ? ".sp" : roff(line))
    }
    if (!filled) print ".fi"
  }
' "$work/help" >"$work/page"

mkdir -p "$(dirname "$output")"
gzip -9 -n -c "$work/page" >"$work/page.gz"
mv "$work/page.gz" "$output"
