#!/usr/bin/env bash
# Makes a small DAISY 2.02 talking book for the tests of `orvabook from-daisy`.
#
#   make-daisy-book.sh FOLDER
#
# Spoken in Italian by espeak-ng. Five headings on three levels, in three SMIL
# files:
#   h1 Libro DAISY di prova   s01.smil  a01.mp3           page i in the same second
#   h1 Capitolo primo         s02.smil  a02.mp3 from 0    page 1 inside
#   h2 Prima sezione          s02.smil  a02.mp3 mid-file  page 2 inside
#   h3 Una sottosezione       s02.smil  a02.mp3 mid-file
#   h1 Capitolo secondo       s03.smil  a03.mp3, a04.wav  page 3 in a04.wav
# The first section's text is in the ncc.html only; from the second heading
# on, the text is in the content document content.html. The ncc.html links
# headings to text ids and page numbers to par ids, as books in the wild do
# both; one par holds its audio in a seq.
set -euo pipefail
export LC_ALL=C.UTF-8

out=${1:?usage: make-daisy-book.sh FOLDER}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# speak FILE SENTENCE...: the sentences one after the other, each followed by
# 0.3 s of silence, as MP3 or WAV after FILE's extension; clips gets each
# sentence's "begin end" in seconds.
clips=()
speak() {
  local file=$1 t=0 i=0 d sentence
  shift
  local parts=()
  clips=()
  for sentence in "$@"; do
    espeak-ng -v it -s 170 -w "$work/s$i.wav" "$sentence"
    sox "$work/s$i.wav" "$work/p$i.wav" pad 0 0.3
    d=$(soxi -D "$work/p$i.wav")
    clips+=("$(awk -v t="$t" -v d="$d" 'BEGIN { printf "%.3f %.3f", t, t + d }')")
    t=$(awk -v t="$t" -v d="$d" 'BEGIN { printf "%.3f", t + d }')
    parts+=("$work/p$i.wav")
    i=$((i + 1))
  done
  sox "${parts[@]}" "$work/all.wav"
  case $file in
    *.mp3) ffmpeg -nostdin -loglevel error -y -i "$work/all.wav" -ac 1 -ar 16000 -c:a libmp3lame -b:a 32k \
      "$out/$file" ;;
    *) sox "$work/all.wav" -r 16000 "$out/$file" ;;
  esac
}

# par ID TEXT_SRC AUDIO CLIP: one par with its text and audio.
par() {
  local begin end
  read -r begin end <<<"$4"
  printf '<par endsync="last" id="%s">\n<text src="%s" id="t%s"/>\n' "$1" "$2" "$1"
  printf '<audio src="%s" clip-begin="npt=%ss" clip-end="npt=%ss" id="a%s"/>\n</par>\n' "$3" "$begin" "$end" "$1"
}

smil_start() {
  printf '<?xml version="1.0" encoding="UTF-8"?>\n'
  printf '<!DOCTYPE smil PUBLIC "-//W3C//DTD SMIL 1.0//EN" "http://www.w3.org/TR/REC-smil/SMIL10.dtd">\n'
  printf '<smil>\n<head>\n<meta name="dc:format" content="Daisy 2.02"/>\n'
  printf '<layout><region id="txtView"/></layout>\n</head>\n<body>\n<seq>\n'
}
smil_end() { printf '</seq>\n</body>\n</smil>\n'; }

speak a01.mp3 "Libro DAISY di prova."
{
  smil_start
  par s01p1 ncc.html#h1 a01.mp3 "${clips[0]}"
  smil_end
} >"$out/s01.smil"

speak a02.mp3 "Capitolo primo." "Il treno parte all'alba." "Prima sezione." "Dopo due ore appare il mare." \
  "Una sottosezione." "Il treno arriva a Rimini."
{
  smil_start
  par s02p1 content.html#c1 a02.mp3 "${clips[0]}"
  par s02p2 content.html#c2 a02.mp3 "${clips[1]}"
  par s02p3 content.html#c3 a02.mp3 "${clips[2]}"
  par s02p4 content.html#c4 a02.mp3 "${clips[3]}"
  par s02p5 content.html#c5 a02.mp3 "${clips[4]}"
  par s02p6 content.html#c6 a02.mp3 "${clips[5]}"
  smil_end
} >"$out/s02.smil"

speak a03.mp3 "Capitolo secondo." "Marco torna a casa."
a03=("${clips[@]}")
speak a04.wav "Fine del libro di prova."
{
  smil_start
  par s03p1 content.html#c7 a03.mp3 "${a03[0]}"
  read -r b1 e1 <<<"${a03[1]}"
  read -r b2 e2 <<<"${clips[0]}"
  printf '<par endsync="last" id="s03p2">\n<text src="content.html#c8" id="ts03p2"/>\n<seq>\n'
  printf '<audio src="a03.mp3" clip-begin="npt=%ss" clip-end="npt=%ss" id="as03p2"/>\n' "$b1" "$e1"
  printf '</seq>\n</par>\n'
  printf '<par endsync="last" id="s03p3">\n<text src="content.html#c9" id="ts03p3"/>\n'
  printf '<audio src="a04.wav" clip-begin="npt=%ss" clip-end="npt=%ss" id="as03p3"/>\n</par>\n' "$b2" "$e2"
  smil_end
} >"$out/s03.smil"

cat >"$out/content.html" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Transitional//EN" "http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd">
<html xmlns="http://www.w3.org/1999/xhtml">
<head><meta http-equiv="Content-type" content="text/html; charset=utf-8"/><title>Libro DAISY di prova</title></head>
<body>
<h1 id="c1">Capitolo primo</h1>
<p id="c2">Il treno parte all'alba.</p>
<h2 id="c3">Prima sezione</h2>
<p id="c4">Dopo due ore appare il mare.</p>
<h3 id="c5">Una sottosezione</h3>
<p id="c6">Il treno arriva a Rimini.</p>
<h1 id="c7">Capitolo secondo</h1>
<p id="c8">Marco torna a casa.</p>
<p id="c9">Fine del libro di prova.</p>
</body>
</html>
EOF

cat >"$out/ncc.html" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Transitional//EN" "http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd">
<html xmlns="http://www.w3.org/1999/xhtml">
<head>
<meta http-equiv="Content-type" content="text/html; charset=utf-8"/>
<title>Libro DAISY di prova</title>
<meta name="dc:title" content="Libro DAISY di prova"/>
<meta name="dc:language" content="it"/>
<meta name="dc:format" content="Daisy 2.02"/>
<meta name="ncc:multimediaType" content="audioFullText"/>
</head>
<body>
<h1 class="title" id="h1"><a href="s01.smil#ts01p1">Libro DAISY di prova</a></h1>
<span class="page-front" id="pgi"><a href="s01.smil#s01p1">i</a></span>
<h1 id="h2"><a href="s02.smil#ts02p1">Capitolo primo</a></h1>
<span class="page-normal" id="pg1"><a href="s02.smil#s02p2">1</a></span>
<h2 id="h3"><a href="s02.smil#ts02p3">Prima sezione</a></h2>
<span class="page-normal" id="pg2"><a href="s02.smil#s02p4">2</a></span>
<h3 id="h4"><a href="s02.smil#ts02p5">Una sottosezione</a></h3>
<h1 id="h5"><a href="s03.smil#ts03p1">Capitolo secondo</a></h1>
<span class="page-normal" id="pg3"><a href="s03.smil#s03p3">3</a></span>
</body>
</html>
EOF
