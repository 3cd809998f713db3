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
set -euo pipefail
out=$1

here=$(dirname "$0")

# A scenario from UTF-8 text and a loop that polls the mouse at LABEL (in
# pictures/ the click loop): code page 932 with CR LF, as written on Windows.
scenario() {  # NAME [LABEL] < TEXT
  local label=${2:-wait}
  mkdir -p "$out/$1/data"
  { cat
    if [[ $1 == pictures ]]; then cat "$here/click_loop.snr"
    else printf '[%s]\nget_mouse_state"@01"\ngoto"%s"\n' "$label" "$label"; fi
  } | python3 -c 'import sys; sys.stdout.buffer.write(sys.stdin.read().replace("\n", "\r\n").encode("cp932"))' \
    > "$out/$1/data/mowa.snr"
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
scenario pictures << 'EOF'
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
EOF

picture "$out/text/pic.bmp"
scenario text << 'EOF'
gload"pic.bmp,0,0,0"
message"あいうえお一二三/かきく"
text_write"テキスト,300,60,20,16777215,0"
number_write"1234,300,160,24,255,1"
EOF

scenario save << 'EOF'
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
EOF

picture "$out/japanese/画像/表.bmp"
sprite "$out/japanese/画像/ソ.bmp"
scenario japanese 待つ << 'EOF'
# 表 and ソ end in the byte 0x5C, the path separator
gload"画像\表.bmp,0,0,0"
character"画像\ソ.bmp,100,200,1,0"
EOF

back_picture "$out/zoom/plasma.bmp"
scenario zoom << 'EOF'
gload"plasma.bmp,0,0,0"
screen_big_small
EOF

picture "$out/klänge/pic.bmp"
sox -n -r 22050 -b 16 -c 1 "$out/klänge/beep.wav" synth 0.3 sine 880
# Half a second of one note: header, one track, note on, note off, end.
printf 'MThd\0\0\0\6\0\0\0\1\1\340MTrk\0\0\0\15\0\220<d\203`\200<\0\0\377/\0' > "$out/klänge/data/tune.mid"
scenario klänge << 'EOF'
gload"pic.bmp,0,0,0"
play_wav"beep.wav,0"
play_midi".\data\tune.mid"
stop_midi
play_midi".\data\missing.mid"
EOF

# The demo's trap: a right press brings a box, the release comes while it is
# open; a right button still held after it would hide every left press.
scenario stuck rest << 'EOF'
[poll]
get_mouse_state"@01"
if"@01=2,right,poll"
[right]
check"@01"
[after]
get_mouse_state"@01"
if"@01=1,left,after"
[left]
boxfill"0,0,639,479,255"
EOF
