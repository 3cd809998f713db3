#!/usr/bin/env bash
# Writes the scenarios of the Wine test into FOLDER, one folder each, with
# pictures and sprites made by ImageMagick and a sound made by sox.
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
set -euo pipefail
out=$1

# A scenario from UTF-8 text: code page 932 with CR LF, as written on Windows.
scenario() {  # FOLDER < TEXT
  mkdir -p "$1/data"
  python3 -c 'import sys; sys.stdout.buffer.write(sys.stdin.read().replace("\n", "\r\n").encode("cp932"))' \
    > "$1/data/mowa.snr"
}
# Uncompressed 8-bit BMPs, the only kind the program reads.
picture() {  # FILE
  convert \( -size 320x480 gradient:'#200000-#ff8000' \) \
          \( -size 320x480 gradient:'#002000-#00ffff' \) +append +dither -colors 250 \
          -type Palette -compress None "BMP3:$1"
}
back_picture() { convert -seed 3 -size 640x480 plasma:fractal +dither -colors 240 -type Palette -compress None "BMP3:$1"; }
sprite() { convert -size 96x64 radial-gradient:yellow-blue -type Palette -compress None "BMP3:$1"; }
# A width that is not a multiple of 4: its rows are padded.
narrow_sprite() { convert -size 50x40 gradient:'#ff00ff-#004000' -type Palette -compress None "BMP3:$1"; }

# Waits for a button; a left press leaves a red square where the pointer is,
# a right press a green one; then waits for the release and starts again.
CLICK_LOOP=$(cat "$(dirname "$0")/../scenarios/click_loop.snr")

d=$out/pictures
mkdir -p "$d"
picture "$d/pic.bmp"
back_picture "$d/back.bmp"
sprite "$d/sprite.bmp"
narrow_sprite "$d/narrow.bmp"
scenario "$d" << EOF2
gload"back.bmp,0,0,2"
gload"pic.bmp,0,0,1"
screen_black_in"1"
character"sprite.bmp,40,300,0,0"
character"narrow.bmp,200,300,1,0"
character"sprite.bmp,600,-20,1,0"
screen_copy"100,100,260,220,300,150"
force_write
screen_black_out"1"
screen_black_in"1"
screen_big_small
boxfill"10,400,110,460,16711680"
box"130,400,230,460,65535"
box"250,400,251,460,16777215"
$CLICK_LOOP
EOF2

d=$out/text
mkdir -p "$d"
picture "$d/pic.bmp"
scenario "$d" << 'EOF2'
gload"pic.bmp,0,0,0"
message"あいうえお一二三/かきく"
text_write"テキスト,300,60,20,16777215,0"
number_write"1234,300,160,24,255,1"
[wait]
get_mouse_state"@01"
goto"wait"
EOF2

d=$out/save
mkdir -p "$d"
scenario "$d" << 'EOF2'
@10=12345
@11=-2
@99=2147483647
save
@10=0
@11=0
@99=0
load
if"@10=12345,one,bad"
[one]
if"@11=-2,two,bad"
[two]
if"@99=2147483647,good,bad"
[good]
boxfill"0,0,640,480,65280"
goto"wait"
[bad]
boxfill"0,0,640,480,255"
[wait]
get_mouse_state"@01"
goto"wait"
EOF2

d=$out/japanese
mkdir -p "$d/画像"
picture "$d/画像/表.bmp"
sprite "$d/画像/ソ.bmp"
scenario "$d" << 'EOF2'
# 表 and ソ end in the byte 0x5C, the path separator
gload"画像\表.bmp,0,0,0"
character"画像\ソ.bmp,100,200,1,0"
[待つ]
get_mouse_state"@01"
goto"待つ"
EOF2

d=$out/zoom
mkdir -p "$d"
back_picture "$d/plasma.bmp"
scenario "$d" << 'EOF2'
gload"plasma.bmp,0,0,0"
screen_big_small
[wait]
get_mouse_state"@01"
goto"wait"
EOF2

d=$out/klänge
mkdir -p "$d/data"
picture "$d/pic.bmp"
sox -n -r 22050 -b 16 -c 1 "$d/beep.wav" synth 0.3 sine 880
# Half a second of one note: header, one track, note on, note off, end.
python3 - "$d/data/tune.mid" << 'EOF2'
import struct, sys
events = bytes([0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00])
with open(sys.argv[1], "wb") as f:
    f.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480))
    f.write(b"MTrk" + struct.pack(">I", len(events)) + events)
EOF2
scenario "$d" << 'EOF2'
gload"pic.bmp,0,0,0"
play_wav"beep.wav,0"
play_midi".\data\tune.mid"
stop_midi
play_midi".\data\missing.mid"
[wait]
get_mouse_state"@01"
goto"wait"
EOF2
