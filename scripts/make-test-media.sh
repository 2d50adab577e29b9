#!/bin/sh
# Makes the media files the playback integration tests and benchmarks play,
# into the folder given (created if needed). Files already there are kept,
# so repeated test runs cost nothing. Needs espeak-ng, sox and ffmpeg.
#
#   parlato.wav   Italian speech, about 9 s, 22050 Hz mono
#   parlato.mp3   the same speech as MP3
#   parlato.wma   the same speech as WMA (version 2)
#   tono440.wav   a 440 Hz sine, 10 s, 44100 Hz mono, for pitch checks
#   lungo.mp3     60 s of the tone at half level, for seeks far into a file
#   video.wmv     4 s of a test picture, 320x240, with the tone (WMV 8 + WMA)
#   video.avi     4 s, 320x240, MPEG-4 part 2 with PCM sound
#   video.m1v     4 s raw MPEG-1 video stream, 320x240, no sound
#   rotto.mp3     text, not sound: a file no engine can play
set -eu

out=${1:?usage: make-test-media.sh <folder>}
mkdir -p "$out"
cd "$out"

ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

# Writes through a temporary name, so a run that breaks off never leaves a
# half-made file that a later run would take as done.
produce() {
  target=$1
  shift
  [ -s "$target" ] && return 0
  tmp="tmp-$$-$target"
  "$@" "$tmp"
  mv "$tmp" "$target"
}

speech() {
  espeak-ng -v it -s 150 -w "$1" \
    "Capitolo primo. Questa è una prova di lettura per il lettore di libri parlati. Uno, due, tre, quattro, cinque."
}
tone() { sox -n -r 44100 -c 1 -b 16 -t wav "$1" synth 10 sine 440 vol 0.5; }
long_tone() { ff -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=60" -af volume=0.5 -c:a libmp3lame -b:a 64k -f mp3 "$1"; }
mp3() { ff -i parlato.wav -c:a libmp3lame -b:a 64k -f mp3 "$1"; }
wma() { ff -i parlato.wav -c:a wmav2 -b:a 64k -f asf "$1"; }
picture() { echo "-f lavfi -i testsrc=size=320x240:rate=25:duration=4"; }
wmv() {
  # shellcheck disable=SC2046
  ff $(picture) -f lavfi -i "sine=frequency=440:duration=4" -c:v wmv2 -c:a wmav2 -shortest -f asf "$1"
}
avi() {
  # shellcheck disable=SC2046
  ff $(picture) -f lavfi -i "sine=frequency=440:duration=4" -c:v mpeg4 -c:a pcm_s16le -shortest -f avi "$1"
}
m1v() {
  # shellcheck disable=SC2046
  ff $(picture) -c:v mpeg1video -f mpeg1video "$1"
}
broken() { printf 'Questo non è un file audio.\n%.0s' 1 2 3 4 5 6 7 8 > "$1"; }

produce parlato.wav speech
produce parlato.mp3 mp3
produce parlato.wma wma
produce tono440.wav tone
produce lungo.mp3 long_tone
produce video.wmv wmv
produce video.avi avi
produce video.m1v m1v
produce rotto.mp3 broken
