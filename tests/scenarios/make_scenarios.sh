#!/usr/bin/env bash
# Writes the scenarios played in real windows into FOLDER, one folder each,
# with pictures and sprites made by ImageMagick and a sound made by sox.
#   pictures/  loads, a fade, sprites, a copy, the zoom, boxes, then marks
#              where the mouse is pressed
#   text/      the message window, free text and a number
#   save/      save, clear and load, the outcome shown as a green or red
#              picture
#   japanese/  a folder, a picture and a sprite with Japanese names (one
#              with 0x5C as its second byte), and a Japanese label
#   klänge/    a WAV effect, MIDI music, and music that is not there, in a
#              folder whose name code page 932 cannot spell
#   zoom/      the zoom over a picture that changes in both directions
#   stuck/     a right press shows a check box; after it only a left press
#              alone fills the screen red
#   waits/     eight waits of a second, then the end
set -euo pipefail
out=$1

here=$(dirname "$0")

# Scenario FOLDER from FILE.snr beside this script, in UTF-8 and each ending
# in a loop that polls the mouse: code page 932 with CR LF, as written on
# Windows.
scenario() {  # FOLDER FILE
  mkdir -p "$out/$1/data"
  python3 -c 'import sys; sys.stdout.buffer.write(sys.stdin.read().replace("\n", "\r\n").encode("cp932"))' \
    < "$here/$2.snr" > "$out/$1/data/mowa.snr"
}
# Uncompressed 8-bit BMPs, the only kind the program reads.
picture() {  # FILE
  convert \( -size 320x480 gradient:'#200000-#ff8000' \) \
          \( -size 320x480 gradient:'#002000-#00ffff' \) +append +dither -colors 250 \
          -type Palette -compress None "BMP3:$1"
}
back_picture() { convert -seed 3 -size 640x480 plasma:fractal +dither -colors 240 -type Palette -compress None "BMP3:$1"; }
sprite() { convert -size 96x64 radial-gradient:yellow-blue -type Palette -compress None "BMP3:$1"; }
mkdir -p "$out"/{pictures,text,zoom,japanese/画像,klänge/data}

picture "$out/pictures/pic.bmp"
back_picture "$out/pictures/back.bmp"
sprite "$out/pictures/sprite.bmp"
# A width that is not a multiple of 4: its rows are padded.
convert -size 50x40 gradient:'#ff00ff-#004000' -type Palette -compress None "BMP3:$out/pictures/narrow.bmp"
# After the picture the click loop: a left press leaves a red square where
# the pointer is, a right press a green one; then it waits for the release.
scenario pictures pictures

picture "$out/text/pic.bmp"
scenario text text

scenario save save

picture "$out/japanese/画像/表.bmp"
sprite "$out/japanese/画像/ソ.bmp"
scenario japanese japanese

back_picture "$out/zoom/plasma.bmp"
scenario zoom zoom

picture "$out/klänge/pic.bmp"
sox -n -r 22050 -b 16 -c 1 "$out/klänge/beep.wav" synth 0.3 sine 880
# Half a second of one note: header, one track, note on, note off, end.
printf 'MThd\0\0\0\6\0\0\0\1\1\340MTrk\0\0\0\15\0\220<d\203`\200<\0\0\377/\0' > "$out/klänge/data/tune.mid"
scenario klänge sound

# The demo's trap: a right press brings a box, the release comes while it is
# open; a right button still held after it would hide every left press.
scenario stuck stuck
scenario waits waits
