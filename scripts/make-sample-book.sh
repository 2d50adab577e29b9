#!/usr/bin/env bash
# Generates the sample talking book of the project (sample-book/ by default).
#
# The book is small on purpose: an index page, two chapter folders with two
# pages each, the INCLUDE folder (three style sheets, the help page and the
# splash picture) and the Libro audio folder. Pages carry their audio, start
# positions and previous/next chain in META elements, the index page and one
# chapter page carry OrvaIndex_n position anchors, and one page carries the
# player command links. The spoken Italian audio is made with espeak-ng.
#
# Usage: scripts/make-sample-book.sh [OUTPUT_FOLDER]
#
# The whole folder is regenerated each time. The same tools give the same
# bytes: no timestamps or encoder tags end up in the audio or picture files.
set -euo pipefail
export LC_ALL=C.UTF-8

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$repo/sample-book}"

# Audio settings: mono, 16 kHz; MP3 at a low constant bit rate.
readonly rate=16000
readonly mp3_bitrate=32k
readonly gap_seconds=0.5
readonly voice=it
readonly words_per_minute=160

die() {
  echo "make-sample-book: $*" >&2
  exit 1
}

ensure_tools() {
  local -a missing=()
  command -v espeak-ng >/dev/null || missing+=(espeak-ng)
  command -v sox >/dev/null || missing+=(sox)
  command -v soxi >/dev/null || missing+=(sox)
  command -v ffmpeg >/dev/null || missing+=(ffmpeg)
  if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null; then
      export DEBIAN_FRONTEND=noninteractive
      apt-get update -q
      apt-get install -y -q --no-install-recommends "${missing[@]}" fonts-dejavu-core
    else
      die "missing tools: ${missing[*]} (install them, or run as root to install them with apt-get)"
    fi
  fi
  espeak-ng --voices="$voice" | awk 'NR > 1 { found = 1 } END { exit !found }' ||
    die "espeak-ng has no voice for language '$voice'"
}

ensure_tools

# Refuse to wipe a folder that is not a book made by this script.
if [ -e "$out" ]; then
  [ -d "$out" ] || die "$out exists and is not a folder"
  if [ -n "$(ls -A "$out")" ] && [ ! -f "$out/Index.htm" ]; then
    die "$out is not empty and holds no Index.htm; not overwriting it"
  fi
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
book="$work/book"
mkdir -p "$book/INCLUDE" "$book/Libro" "$book/Cap01" "$book/Cap02"

# ---------------------------------------------------------------------------
# Audio
# ---------------------------------------------------------------------------

# Start of each sentence of the last audio made, in whole seconds (rounded
# down, so an anchor never starts after its sentence).
declare -a starts=()

# make_audio DEST LEAD_SECONDS SENTENCE...
# Speaks each sentence, joins them with short pauses after LEAD_SECONDS of
# silence, and encodes DEST as MP3 or WAV after its extension.
make_audio() {
  local dest="$1" lead="$2"
  shift 2
  local tmp="$work/audio"
  rm -rf "$tmp"
  mkdir -p "$tmp"
  local espeak_rate
  local -a parts=()
  local i=0 position="$lead" sentence
  starts=()
  for sentence in "$@"; do
    espeak-ng -v "$voice" -s "$words_per_minute" -w "$tmp/s$i.wav" "$sentence"
    espeak_rate="$(soxi -r "$tmp/s$i.wav")"
    starts+=("$(awk -v p="$position" 'BEGIN { printf "%d", p }')")
    if [ "$i" -gt 0 ]; then
      parts+=("$tmp/gap.wav")
    fi
    parts+=("$tmp/s$i.wav")
    position="$(awk -v p="$position" -v d="$(soxi -D "$tmp/s$i.wav")" -v g="$gap_seconds" \
      'BEGIN { printf "%.6f", p + d + g }')"
    i=$((i + 1))
  done
  sox -D -R -n -r "$espeak_rate" -c 1 -b 16 "$tmp/gap.wav" trim 0 "$gap_seconds"
  if awk -v l="$lead" 'BEGIN { exit !(l > 0) }'; then
    sox -D -R -n -r "$espeak_rate" -c 1 -b 16 "$tmp/lead.wav" trim 0 "$lead"
    parts=("$tmp/lead.wav" "${parts[@]}")
  fi
  sox -D -R "${parts[@]}" "$tmp/joined.wav"

  local -a codec
  case "$dest" in
    *.mp3) codec=(-c:a libmp3lame -b:a "$mp3_bitrate" -id3v2_version 0 -write_id3v1 0) ;;
    *.wav) codec=(-c:a pcm_s16le) ;;
    *) die "unknown audio type: $dest" ;;
  esac
  ffmpeg -nostdin -hide_banner -loglevel error -y -i "$tmp/joined.wav" \
    -map_metadata -1 -fflags +bitexact -flags:a +bitexact \
    -ac 1 -ar "$rate" "${codec[@]}" "$dest"
}

# ---------------------------------------------------------------------------
# Pages
# ---------------------------------------------------------------------------

# html_escape TEXT
html_escape() {
  local s="$1"
  s="${s//&/&amp;}"
  s="${s//</&lt;}"
  s="${s//>/&gt;}"
  s="${s//\"/&quot;}"
  printf '%s' "$s"
}

# page_start FILE TITLE [NAME=CONTENT]...
# Starts a page whose <title> is its own file name (the player derives the
# page's folder from it) and writes one META element per NAME=CONTENT pair.
page_start() {
  local file="$1" title="$2"
  shift 2
  {
    printf '<!DOCTYPE html>\n<html lang="it">\n<head>\n'
    printf '<meta charset="utf-8">\n'
    printf '<title>%s</title>\n' "$(html_escape "$title")"
    local pair
    for pair in "$@"; do
      printf '<meta name="%s" content="%s">\n' "${pair%%=*}" "$(html_escape "${pair#*=}")"
    done
    printf '</head>\n<body>\n'
  } >"$file"
}

page_end() {
  printf '</body>\n</html>\n' >>"$1"
}

# paragraphs FILE SENTENCE...: the text that the page's audio speaks.
paragraphs() {
  local file="$1"
  shift
  local sentence
  for sentence in "$@"; do
    printf '<p class="testo">%s</p>\n' "$(html_escape "$sentence")" >>"$file"
  done
}

# ---------------------------------------------------------------------------
# The book
# ---------------------------------------------------------------------------

index_text=(
  "Libro di prova per OrvaPlayer. Sommario."
  "Capitolo primo: la partenza. Marco parte in treno verso il mare."
  "Capitolo secondo: il ritorno. Marco torna a casa. Buon ascolto."
)
p11_text=(
  "Capitolo primo, pagina uno."
  "Il treno parte all'alba dalla stazione di Bologna."
  "Marco guarda fuori dal finestrino e sorride."
)
p12a_text=(
  "Capitolo primo, pagina due, prima parte."
  "Dopo due ore appare il mare."
)
p12b_text=(
  "Pagina due, seconda parte."
  "Il treno arriva a Rimini a mezzogiorno."
)
p21_text=(
  "Capitolo secondo, pagina uno."
  "Primo paragrafo: la sera Marco prepara la valigia."
  "Secondo paragrafo: la mattina torna in stazione."
  "Terzo paragrafo: il viaggio di ritorno è tranquillo."
)
p22a_text=(
  "Capitolo secondo, pagina due, prima parte."
  "Marco scende dal treno e saluta il mare."
)
p22b_text=(
  "Seconda parte. Fine del libro di prova."
)

# Audio files. The first audio of a page, when named without a folder, is
# looked for in the page's folder; the following audios of a page are looked
# for in the program folder and then in Libro. A name given with a relative
# path (Libro/..., ../Libro/...) is found from the page's folder and, for a
# seek back to it, from the Libro folder.
make_audio "$book/Libro/indice.mp3" 0 "${index_text[@]}"
index_pos=("${starts[@]}")
make_audio "$book/Cap01/pagina1_1.mp3" 0 "${p11_text[@]}"
make_audio "$book/Cap01/pagina1_2a.wav" 0 "${p12a_text[@]}"
make_audio "$book/Libro/pagina1_2b.mp3" 1 "${p12b_text[@]}"
make_audio "$book/Libro/pagina2_1.mp3" 0 "${p21_text[@]}"
p21_pos=("${starts[@]}")
make_audio "$book/Libro/pagina2_2a.mp3" 1 "${p22a_text[@]}"
make_audio "$book/Libro/pagina2_2b.wav" 0 "${p22b_text[@]}"

# --- Index.htm ---------------------------------------------------------------
f="$book/Index.htm"
page_start "$f" "Index.htm" \
  "ZUVPLAYER_AUDIO=Libro/indice.mp3" \
  "ZUVPLAYER_AUDIO_POS=0" \
  "ZUVPLAYER_AUDIO_NEXTHTML_1=Cap01/Pagina1_1.htm" \
  "ZUVPLAYER_MSG_DELMARK=Vuoi davvero cancellare tutti i segnalibri di questa pagina?" \
  "ZUVPLAYER_MSG_MARKNONE=In questa pagina non ci sono segnalibri." \
  "ZUVPLAYER_MSG_ERRORE=ERRORE nel libro di prova: @POS@. Codice: @NUMBER@ - @DESCRIPTION@" \
  "ZUVPLAYER_MSG_EXPORTOK=Segnalibri salvati nel file @FILE@" \
  "ZUVPLAYER_MSG_EXPORTKO=Impossibile salvare i segnalibri nel file @FILE@!" \
  "ZUVPLAYER_MSG_MARKEXIST=Esiste già un segnalibro con questo nome!" \
  "ZUVPLAYER_MSG_RIPRISTINOOK=Segnalibri ripristinati dal file @FILE@" \
  "ZUVPLAYER_MSG_SOSTFILE=Il file @FILE@ esiste già: lo vuoi sostituire?" \
  "ZUVPLAYER_MSG_USCITA=Vuoi davvero chiudere il libro di prova?"
cat >>"$f" <<EOF
<h1>Libro di prova per OrvaPlayer</h1>
<p class="testo">Un breve racconto in due capitoli, letto da una voce sintetica, per provare il lettore di audiolibri.</p>
<h2>Sommario parlato</h2>
<p class="testo">Questi collegamenti fanno ascoltare il sommario da un punto preciso.</p>
<ul>
<li><a id="OrvaIndex_1" href="Index.htm#ZUVPLAYER_AUDIO_POS=${index_pos[0]}">Ascolta il sommario dall'inizio</a></li>
<li><a id="OrvaIndex_2" href="Index.htm#ZUVPLAYER_AUDIO_POS=${index_pos[1]}">Ascolta la presentazione del capitolo primo</a></li>
<li><a id="OrvaIndex_3" href="Index.htm#ZUVPLAYER_AUDIO_POS=${index_pos[2]}">Ascolta la presentazione del capitolo secondo</a></li>
</ul>
<h2>Capitoli</h2>
<ul>
<li><a href="Cap01/Pagina1_1.htm">Capitolo primo: la partenza</a>
<ul>
<li><a href="Cap01/Pagina1_1.htm">Capitolo primo, pagina uno</a></li>
<li><a href="Cap01/Pagina1_2.htm">Capitolo primo, pagina due</a></li>
</ul></li>
<li><a href="Cap02/Pagina2_1.htm">Capitolo secondo: il ritorno</a>
<ul>
<li><a href="Cap02/Pagina2_1.htm">Capitolo secondo, pagina uno</a></li>
<li><a href="Cap02/Pagina2_2.htm">Capitolo secondo, pagina due</a></li>
</ul></li>
</ul>
<h2>Testo letto</h2>
EOF
paragraphs "$f" "${index_text[@]}"
cat >>"$f" <<'EOF'
<p><a href="INCLUDE/help.htm">Aiuto: i comandi da tastiera</a></p>
EOF
page_end "$f"

# --- Cap01/Pagina1_1.htm: one audio, named without extension -----------------
f="$book/Cap01/Pagina1_1.htm"
page_start "$f" "Pagina1_1.htm" \
  "ZUVPLAYER_AUDIO=pagina1_1" \
  "ZUVPLAYER_AUDIO_POS=0" \
  "ZUVPLAYER_AUDIO_NEXTHTML_1=Pagina1_2.htm" \
  "ZUVPLAYER_AUDIO_PREVHTML=../Index.htm"
cat >>"$f" <<'EOF'
<h1>Capitolo primo: la partenza</h1>
<h2>Pagina uno</h2>
EOF
paragraphs "$f" "${p11_text[@]}"
cat >>"$f" <<'EOF'
<h2>Comandi del lettore</h2>
<ul>
<li><a href="#ZUVP_PAUSE#">Metti in pausa la lettura</a></li>
<li><a href="#ZUVP_PLAY#">Avvia la lettura</a></li>
<li><a href="#ZUVP_STOP#">Ferma la lettura</a></li>
<li><a href="#location.reload">Riavvia l'audio in corso</a></li>
<li><a href="#ZUVP_KEYCMD##KEYCTRL#49">Torna indietro di qualche secondo (Ctrl+1)</a></li>
<li><a href="#ZUVP_KEYCMD##KEYCTRL#50">Vai avanti di qualche secondo (Ctrl+2)</a></li>
<li><a href="#ZUVP_KEYCMD##KEYALT#57">Cambia lo stile della pagina (Alt+9)</a></li>
<li><a href="#ZUVP_KEYCMD##KEYCTRL#55">Vai alla pagina successiva (Ctrl+7)</a></li>
</ul>
<h2>Navigazione</h2>
<ul>
<li><a href="../Index.htm">Torna all'indice del libro</a></li>
<li><a href="Pagina1_2.htm">Pagina successiva: capitolo primo, pagina due</a></li>
</ul>
EOF
page_end "$f"

# --- Cap01/Pagina1_2.htm: two audios (WAV beside the page, MP3 in Libro) ----
f="$book/Cap01/Pagina1_2.htm"
page_start "$f" "Pagina1_2.htm" \
  "ZUVPLAYER_AUDIO=pagina1_2a.wav" \
  "ZUVPLAYER_AUDIO_POS=0" \
  "ZUVPLAYER_AUDIO_1=pagina1_2b.mp3" \
  "ZUVPLAYER_AUDIO_POS_1=1" \
  "ZUVPLAYER_AUDIO_NEXTHTML_1=../Cap02/Pagina2_1.htm" \
  "ZUVPLAYER_AUDIO_NEXTHTML_2=../Cap02/Pagina2_1.htm" \
  "ZUVPLAYER_AUDIO_PREVHTML=Pagina1_1.htm"
cat >>"$f" <<'EOF'
<h1>Capitolo primo: la partenza</h1>
<h2>Pagina due</h2>
<h3>Prima parte</h3>
EOF
paragraphs "$f" "${p12a_text[@]}"
printf '<h3>Seconda parte</h3>\n' >>"$f"
paragraphs "$f" "${p12b_text[@]}"
cat >>"$f" <<'EOF'
<h2>Navigazione</h2>
<ul>
<li><a href="Pagina1_1.htm">Pagina precedente: capitolo primo, pagina uno</a></li>
<li><a href="../Cap02/Pagina2_1.htm">Pagina successiva: capitolo secondo, pagina uno</a></li>
<li><a href="../Index.htm">Torna all'indice del libro</a></li>
</ul>
EOF
page_end "$f"

# --- Cap02/Pagina2_1.htm: one audio in Libro, with a position index --------
f="$book/Cap02/Pagina2_1.htm"
page_start "$f" "Pagina2_1.htm" \
  "ZUVPLAYER_AUDIO=../Libro/pagina2_1.mp3" \
  "ZUVPLAYER_AUDIO_POS=0" \
  "ZUVPLAYER_AUDIO_NEXTHTML_1=Pagina2_2.htm" \
  "ZUVPLAYER_AUDIO_PREVHTML=../Cap01/Pagina1_2.htm"
cat >>"$f" <<'EOF'
<h1>Capitolo secondo: il ritorno</h1>
<h2>Pagina uno</h2>
EOF
paragraphs "$f" "${p21_text[@]}"
cat >>"$f" <<EOF
<h2>Indice della pagina</h2>
<ul>
<li><a id="OrvaIndex_1" href="Pagina2_1.htm#ZUVPLAYER_AUDIO_POS=${p21_pos[0]}">Ascolta dall'inizio della pagina</a></li>
<li><a id="OrvaIndex_2" href="Pagina2_1.htm#ZUVPLAYER_AUDIO_POS=${p21_pos[1]}">Ascolta dal primo paragrafo</a></li>
<li><a id="OrvaIndex_3" href="Pagina2_1.htm#ZUVPLAYER_AUDIO_POS=${p21_pos[2]}">Ascolta dal secondo paragrafo</a></li>
<li><a id="OrvaIndex_4" href="Pagina2_1.htm#ZUVPLAYER_AUDIO_POS=${p21_pos[3]}">Ascolta dal terzo paragrafo</a></li>
</ul>
<h2>Comandi</h2>
<ul>
<li><a href="#ZUVP_KEYCMD##KEYALT#56">Vai alla voce successiva dell'indice (Alt+8)</a></li>
<li><a href="#ZUVP_KEYCMD##KEYALT#55">Vai alla voce precedente dell'indice (Alt+7)</a></li>
<li><a href="#ZUVP_KEYCMD##KEYSHIFT#112">Apri l'aiuto (F1)</a></li>
</ul>
<h2>Navigazione</h2>
<ul>
<li><a href="../Cap01/Pagina1_2.htm">Pagina precedente: capitolo primo, pagina due</a></li>
<li><a href="Pagina2_2.htm">Pagina successiva: capitolo secondo, pagina due</a></li>
<li><a href="../Index.htm">Torna all'indice del libro</a></li>
</ul>
EOF
page_end "$f"

# --- Cap02/Pagina2_2.htm: two audios in Libro, last page --------------------
f="$book/Cap02/Pagina2_2.htm"
page_start "$f" "Pagina2_2.htm" \
  "ZUVPLAYER_AUDIO=../Libro/pagina2_2a.mp3" \
  "ZUVPLAYER_AUDIO_POS=1" \
  "ZUVPLAYER_AUDIO_1=pagina2_2b.wav" \
  "ZUVPLAYER_AUDIO_POS_1=0" \
  "ZUVPLAYER_AUDIO_PREVHTML=Pagina2_1.htm"
cat >>"$f" <<'EOF'
<h1>Capitolo secondo: il ritorno</h1>
<h2>Pagina due</h2>
<h3>Prima parte</h3>
EOF
paragraphs "$f" "${p22a_text[@]}"
printf '<h3>Seconda parte</h3>\n' >>"$f"
paragraphs "$f" "${p22b_text[@]}"
cat >>"$f" <<'EOF'
<h2>Navigazione</h2>
<ul>
<li><a href="Pagina2_1.htm">Pagina precedente: capitolo secondo, pagina uno</a></li>
<li><a href="../Index.htm">Torna all'indice del libro</a></li>
</ul>
EOF
page_end "$f"

# --- INCLUDE/help.htm ----------------------------------------------------------
f="$book/INCLUDE/help.htm"
page_start "$f" "help.htm"
cat >>"$f" <<'EOF'
<h1>Aiuto: i comandi da tastiera</h1>
<p class="testo">Il lettore si usa tutto dalla tastiera. Ogni comando risponde con un breve messaggio sullo schermo.</p>
<h2>Lettura</h2>
<table>
<caption>Comandi di lettura</caption>
<thead><tr><th scope="col">Tasti</th><th scope="col">Comando</th></tr></thead>
<tbody>
<tr><td>Ctrl+3</td><td>Pausa o ripresa della lettura</td></tr>
<tr><td>Ctrl+4</td><td>Ferma la lettura e torna all'inizio dell'audio</td></tr>
<tr><td>Ctrl+1</td><td>Torna indietro di qualche secondo</td></tr>
<tr><td>Ctrl+2</td><td>Vai avanti di qualche secondo</td></tr>
<tr><td>Alt+più</td><td>Lettura più veloce</td></tr>
<tr><td>Alt+meno</td><td>Lettura più lenta</td></tr>
<tr><td>Ctrl+9</td><td>Velocità veloce, lenta o normale</td></tr>
<tr><td>Ctrl+più</td><td>Volume più alto</td></tr>
<tr><td>Ctrl+meno</td><td>Volume più basso</td></tr>
<tr><td>Ctrl+0</td><td>Disattiva o attiva la lettura</td></tr>
</tbody>
</table>
<h2>Pagine</h2>
<table>
<caption>Comandi per muoversi nel libro</caption>
<thead><tr><th scope="col">Tasti</th><th scope="col">Comando</th></tr></thead>
<tbody>
<tr><td>Ctrl+I</td><td>Indice del libro</td></tr>
<tr><td>Ctrl+6</td><td>Pagina precedente</td></tr>
<tr><td>Ctrl+7</td><td>Pagina successiva</td></tr>
<tr><td>Alt+7</td><td>Voce precedente dell'indice della pagina</td></tr>
<tr><td>Alt+8</td><td>Voce successiva dell'indice della pagina</td></tr>
<tr><td>Alt+9</td><td>Cambia lo stile della pagina: normale, alto contrasto, caratteri grandi</td></tr>
<tr><td>F1</td><td>Questa pagina di aiuto</td></tr>
</tbody>
</table>
<h2>Segnalibri</h2>
<table>
<caption>Comandi dei segnalibri</caption>
<thead><tr><th scope="col">Tasti</th><th scope="col">Comando</th></tr></thead>
<tbody>
<tr><td>Alt+3</td><td>Aggiungi un segnalibro nel punto di lettura</td></tr>
<tr><td>Alt+1</td><td>Segnalibro precedente</td></tr>
<tr><td>Alt+2</td><td>Segnalibro successivo</td></tr>
<tr><td>Alt+6</td><td>Mostra o nascondi l'elenco dei segnalibri</td></tr>
<tr><td>Invio</td><td>Nell'elenco: vai al segnalibro scelto</td></tr>
<tr><td>Canc</td><td>Nell'elenco: cancella il segnalibro scelto</td></tr>
<tr><td>Esc</td><td>Chiudi l'elenco dei segnalibri</td></tr>
<tr><td>Alt+4</td><td>Cancella tutti i segnalibri della pagina</td></tr>
</tbody>
</table>
<h2>Altro</h2>
<table>
<caption>Altri comandi</caption>
<thead><tr><th scope="col">Tasti</th><th scope="col">Comando</th></tr></thead>
<tbody>
<tr><td>Ctrl+8</td><td>Pannello di configurazione</td></tr>
</tbody>
</table>
<p><a href="../Index.htm">Torna all'indice del libro</a></p>
EOF
page_end "$f"

# --- INCLUDE style sheets ------------------------------------------------------
cat >"$book/INCLUDE/Style1.CSS" <<'EOF'
/* Stile 1: normale */
body { font-family: Verdana, "DejaVu Sans", sans-serif; font-size: 100%; line-height: 1.5;
       color: #1a1a1a; background-color: #ffffff; margin: 1em 2em; }
h1, h2, h3 { color: #14375e; }
p.testo, .testo { font-size: 1.1em; }
a { color: #0b4f9c; }
a:visited { color: #5a2d82; }
a:focus, a:hover { outline: 3px solid #e07000; background-color: #fff3d6; }
table { border-collapse: collapse; }
th, td { border: 1px solid #888888; padding: 0.2em 0.6em; text-align: left; }
caption { font-weight: bold; text-align: left; padding: 0.3em 0; }
EOF
cat >"$book/INCLUDE/Style2.CSS" <<'EOF'
/* Stile 2: alto contrasto */
body { font-family: Verdana, "DejaVu Sans", sans-serif; font-size: 110%; line-height: 1.5;
       color: #ffff00; background-color: #000000; margin: 1em 2em; }
h1, h2, h3 { color: #ffffff; }
p.testo, .testo { font-size: 1.2em; font-weight: bold; }
a, a:visited { color: #00ffff; text-decoration: underline; }
a:focus, a:hover { outline: 4px solid #ffffff; color: #000000; background-color: #00ffff; }
table { border-collapse: collapse; }
th, td { border: 2px solid #ffff00; padding: 0.2em 0.6em; text-align: left; }
caption { font-weight: bold; text-align: left; padding: 0.3em 0; color: #ffffff; }
EOF
cat >"$book/INCLUDE/Style3.CSS" <<'EOF'
/* Stile 3: caratteri grandi */
body { font-family: Verdana, "DejaVu Sans", sans-serif; font-size: 180%; line-height: 1.6;
       color: #000000; background-color: #fffff0; margin: 0.5em 1em; }
h1 { font-size: 1.6em; }
h2 { font-size: 1.3em; }
h3 { font-size: 1.1em; }
p.testo, .testo { font-size: 1.1em; }
a { color: #00307a; }
a:focus, a:hover { outline: 5px solid #c00000; background-color: #ffffa0; }
table { border-collapse: collapse; }
th, td { border: 2px solid #000000; padding: 0.2em 0.6em; text-align: left; }
caption { font-weight: bold; text-align: left; padding: 0.3em 0; }
EOF

# --- INCLUDE/avvio.jpg: the splash picture ------------------------------------
font="$(fc-match -f '%{file}' 'DejaVu Sans:bold' 2>/dev/null || true)"
splash_filter="null"
filters="$(ffmpeg -hide_banner -filters 2>/dev/null || true)"
if [ -n "$font" ] && [ -f "$font" ] && [[ "$filters" == *" drawtext "* ]]; then
  splash_filter="drawtext=fontfile=${font}:text=OrvaPlayer:fontsize=40:fontcolor=white:x=(w-text_w)/2:y=(h-text_h)/2-16"
  splash_filter+=",drawtext=fontfile=${font}:text=Libro di prova:fontsize=20:fontcolor=0xffd75e:x=(w-text_w)/2:y=(h/2)+24"
fi
ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "color=c=0x14375e:s=320x180:d=1" \
  -vf "$splash_filter" -frames:v 1 -map_metadata -1 -fflags +bitexact -flags:v +bitexact \
  -q:v 5 -update 1 "$book/INCLUDE/avvio.jpg"

# --- README.txt ----------------------------------------------------------------
cat >"$book/README.txt" <<EOF
LIBRO DI PROVA DI ORVAPLAYER
============================

Questo libro è generato da scripts/make-sample-book.sh: non modificarlo a mano,
modificare lo script e rigenerarlo. Le voci sono sintetiche (espeak-ng, italiano).

Cartelle
--------
Index.htm          pagina indice: sommario parlato con ancore OrvaIndex_1..3,
                   collegamenti ai capitoli e i messaggi ZUVPLAYER_MSG_* del libro.
Cap01/, Cap02/     i capitoli: pagine .htm (e, in Cap01, l'audio letto per primo
                   dalle sue pagine).
Libro/             cartella audio: ultimo posto in cui il lettore cerca un audio.
INCLUDE/           Style1.CSS (normale), Style2.CSS (alto contrasto),
                   Style3.CSS (caratteri grandi), help.htm (aiuto tastiera),
                   avvio.jpg (immagine di avvio). Non è una cartella di pagine.

Ordine di lettura (catena NEXTHTML / PREVHTML)
----------------------------------------------
Index.htm -> Cap01/Pagina1_1.htm -> Cap01/Pagina1_2.htm -> Cap02/Pagina2_1.htm
-> Cap02/Pagina2_2.htm (fine: nessuna pagina successiva).

Pagina              Audio (contenuto META)              File                      Inizio
------------------  ----------------------------------  ------------------------  ------
Index.htm           ZUVPLAYER_AUDIO=Libro/indice.mp3    Libro/indice.mp3          0
Cap01/Pagina1_1.htm ZUVPLAYER_AUDIO=pagina1_1           Cap01/pagina1_1.mp3       0
                    (senza estensione: il lettore prova .wma .wmv .mp3 .wav .m1v .avi)
Cap01/Pagina1_2.htm ZUVPLAYER_AUDIO=pagina1_2a.wav      Cap01/pagina1_2a.wav      0
                    ZUVPLAYER_AUDIO_1=pagina1_2b.mp3    Libro/pagina1_2b.mp3      1 (POS_1)
Cap02/Pagina2_1.htm ZUVPLAYER_AUDIO=../Libro/pagina2_1.mp3
                                                        Libro/pagina2_1.mp3       0
Cap02/Pagina2_2.htm ZUVPLAYER_AUDIO=../Libro/pagina2_2a.mp3
                                                        Libro/pagina2_2a.mp3      1 (POS)
                    ZUVPLAYER_AUDIO_1=pagina2_2b.wav    Libro/pagina2_2b.wav      0 (POS_1)

pagina1_2b.mp3 e pagina2_2a.mp3 iniziano con un secondo di silenzio, saltato dalla
posizione di partenza.

Ancore dell'indice di posizione (secondi)
-----------------------------------------
Index.htm:           OrvaIndex_1=${index_pos[0]}  OrvaIndex_2=${index_pos[1]}  OrvaIndex_3=${index_pos[2]}
Cap02/Pagina2_1.htm: OrvaIndex_1=${p21_pos[0]}  OrvaIndex_2=${p21_pos[1]}  OrvaIndex_3=${p21_pos[2]}  OrvaIndex_4=${p21_pos[3]}

Regole per chi prepara un libro
-------------------------------
- Il titolo (<title>) di ogni pagina è il nome del suo file: il lettore ne ricava
  la cartella della pagina per aprire la pagina precedente e la successiva.
- Il primo audio di una pagina, scritto come nome semplice (senza cartella), va
  nella cartella della pagina; solo lì funziona anche il nome senza estensione.
  Tornando a quell'audio dall'audio successivo (Ctrl+1) il lettore però non lo
  cerca più nella cartella della pagina, ma solo nella cartella del programma e
  in Libro.
- Gli audio successivi (ZUVPLAYER_AUDIO_1, _2 ...) scritti come nome semplice vanno
  nella cartella Libro.
- Un percorso relativo come ../Libro/nome.mp3 si trova sia all'apertura della pagina
  sia tornando indietro all'audio dalla fine del successivo.
- Una pagina con k+1 audio porta ZUVPLAYER_AUDIO_NEXTHTML_(k+1); il tasto pagina
  successiva usa sempre ZUVPLAYER_AUDIO_NEXTHTML_1.
- Le posizioni sono secondi interi.
- I collegamenti di comando (#ZUVP_PAUSE#, #ZUVP_PLAY#, #ZUVP_STOP#,
  #ZUVP_KEYCMD#...) sono in Cap01/Pagina1_1.htm e Cap02/Pagina2_1.htm.
- I collegamenti di comando contengono un secondo carattere # nell'indirizzo, come
  vuole il lettore: un validatore HTML lo segnala, i browser lo accettano.
- I nomi di file e cartelle sono scritti ovunque con le stesse maiuscole e minuscole
  dei file sul disco.
EOF

# ---------------------------------------------------------------------------
# Replace the output folder with the new book.
# ---------------------------------------------------------------------------
rm -rf "$out"
mkdir -p "$(dirname "$out")"
cp -R "$book" "$out"
echo "Sample book written to $out ($(du -sk "$out" | cut -f1) KB)"
