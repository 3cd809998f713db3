#!/usr/bin/env bash
# The browser player in Debian's headless Chromium: scenarios of
# make_scenarios.sh are packed with scripts/web-pack, served over loopback
# HTTP and played; the canvas must equal what mowa-headless shows of them
# with the same input. Exits 77 (skipped) when a tool is missing.
#   usage: run.sh MOWA_HEADLESS WEB_PLAYER_DIR
set -euo pipefail
player=$(realpath -m "$2")
name=web missing_status=77
source "$(dirname "$0")/../scenarios/on_screen.sh"
headless=$program  # the one program here; the second argument is the player
root=$(cd "$here/../.." && pwd)
for tool in /usr/bin/chromium /usr/bin/chromedriver convert sox; do
  command -v "$tool" > /dev/null || { echo "web: $tool is missing (scripts/setup installs it)"; exit 77; }
done
/usr/bin/python3 -c 'import selenium, fontTools' 2> /dev/null ||
  { echo "web: python3-selenium or python3-fonttools is missing (scripts/setup installs them)"; exit 77; }
[[ -f "$player/mowa.js" ]] || { echo "web: no player in $player (make web builds it)"; exit 77; }
[[ -f "$here/../../web/node_modules/fflate/umd/index.js" ]] ||
  { echo "web: the page's npm packages are missing (scripts/setup installs them)"; exit 77; }
make_scenarios
pack() { MOWA_WEB_PLAYER=$player "$root/scripts/web-pack" "$1" "$work/site/${2:-$(basename "$1")}" > /dev/null; }
# story NAME LINES...: a scenario of those lines in $work/s/NAME.
story() { mkdir -p "$work/s/$1/data" && printf '%s\r\n' "${@:2}" > "$work/s/$1/data/mowa.snr"; }
# shipped NAME N: the save file of story NAME holds @10 = N, saved by mowa-headless.
shipped() {
  story "$1" "@10=$2" save
  (cd "$work/s/$1" && "$headless" . > /dev/null 2>&1) || fail "mowa-headless could not save in $1"
}
red='boxfill"0,0,640,480,255"' green='boxfill"0,0,640,480,65280"'
idle=('[wait]' 'get_mouse_state"@01"' 'goto"wait"')

# What mowa-headless shows, as raw RGB bytes.
reference() {  # SCENE INPUT_LINES... -> $work/SCENE-N.rgb
  local scene=$1 out=$2
  shift 2
  printf '%s\n' "$@" > "$work/input.txt"
  "$headless" --input "$work/input.txt" --screenshot "$work/shot.png" "$work/s/$scene" \
    > /dev/null 2>&1 || fail "mowa-headless failed on $scene"
  convert "$work/shot.png" -depth 8 "rgb:$out"
}
for scene in pictures text zoom japanese; do
  pack "$work/s/$scene"
  reference "$scene" "$work/$scene-before.rgb" '60 key 27'
done
pack "$work/s/klänge" klaenge
# A story that ships a save file (@10 = 1) and saves @10 = 2: red at the
# first visit, green once its own save is read back after a reload.
shipped kept 1
story kept 'load' 'if"@10=2,kept,first"' '[first]' '@10=2' 'save' "$red" 'goto"wait"' \
  '[kept]' "$green" "${idle[@]}"
# The four files named first (never played) come with the page; a picture
# named after them is fetched only once the scenario opens it (after a click,
# in another letter case), then one that is not there: the same box as on
# the desktop.
story later 'goto"start"' 'play_wav"one.wav"' 'play_wav"Data\Two.wav"' 'play_wav"three.wav"' \
  'play_wav".\four.wav"' '[start]' "$red" '[wait]' 'get_mouse_state"@01"' 'if"@01=0,wait,go"' \
  '[go]' 'gload"DATA\later.bmp,0,0,0"' 'gload"gone.bmp,0,0,0"' '[idle]' 'get_mouse_state"@01"' \
  'goto"idle"'
for early in one data/two three four; do sox -n -r 8000 -b 16 -c 1 "$work/s/later/$early.wav" trim 0 0.01; done
convert \( -size 320x480 gradient:'#200000-#ff8000' \) \( -size 320x480 gradient:'#002000-#00ffff' \) \
  +append +dither -colors 250 -type Palette -compress None "BMP3:$work/s/later/data/Later.BMP"
convert "$work/s/later/data/Later.BMP" -depth 8 "rgb:$work/later-after.rgb"
printf '%s\n' '20 move 10 10' '20 ldown' '30 lup' '200 key 27' > "$work/input.txt"
"$headless" --input "$work/input.txt" "$work/s/later" 2>&1 | sed -n 's/^mowa-headless: box //p' |
  head -n 1 > "$work/later-box.txt"
[[ -s "$work/later-box.txt" ]] || fail "mowa-headless showed no box for a missing picture"
# A save file restored from the reader's computer: mowa-headless saves
# @10 = 7 to make it; the story ships one with @10 = 1 and shows red, or
# green once a load reads 7.
shipped made 7
shipped restore 1
cp "$work/s/made/data/save.dat" "$work/restored.dat"
head -c 399 "$work/restored.dat" > "$work/short.dat"
story restore 'load' 'if"@10=7,seven,other"' '[other]' "$red" 'goto"wait"' '[seven]' "$green" "${idle[@]}"
# Stories from the reader's computer: the Japanese one as a folder, the text
# one as a .zip whose names are in code page 932 as Windows writes them.
(cd "$work/s/text" && /usr/bin/python3 -c '
import os, sys, zipfile
class Cp932Name(zipfile.ZipInfo):
    def _encodeFilenameFlags(self):
        return self.filename.encode("cp932"), self.flag_bits
with zipfile.ZipFile(sys.argv[1], "w") as z:
    for folder, _, files in os.walk("."):
        for name in files:
            path = os.path.relpath(os.path.join(folder, name)).replace("data/", "DATA/")
            z.writestr(Cp932Name("テキスト/" + path), open(os.path.join(folder, name), "rb").read())
' "$work/text.zip")
# The reader's keys: a long wait, then green.
story slow "$red" 'wait"60000"' "$green" "${idle[@]}"
for scene in kept later restore slow; do pack "$work/s/$scene"; done
# The bundled demo, staged by the build beside mowa-headless.
demo=$(dirname "$headless")/demo
[[ -f "$demo/data/mowa.snr" ]] || fail "no demo in $demo (the build stages it)"
pack "$demo"
reference pictures "$work/pictures-after.rgb" '40 move 100 100' '40 ldown' '60 lup' \
  '80 move 300 200' '80 rdown' '100 rup' '120 move 500 400' '120 ldown' '130 lup' '170 key 27'
/usr/bin/python3 "$here/web_test.py" "$work"
