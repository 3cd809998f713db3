#!/usr/bin/env bash
# The browser player in Debian's headless Chromium: scenarios of
# make_scenarios.sh are packed with scripts/web-pack, served over loopback
# HTTP and played; the canvas must equal what mowa-headless shows of them
# with the same input. Exits 77 (skipped) when a tool is missing.
#   usage: run.sh MOWA_HEADLESS WEB_PLAYER_DIR
set -euo pipefail
headless=$(realpath "$1")
player=$(realpath -m "$2")
name=web missing_status=77
source "$(dirname "$0")/../scenarios/on_screen.sh"
root=$(cd "$here/../.." && pwd)
for tool in /usr/bin/chromium /usr/bin/chromedriver convert sox; do
  command -v "$tool" > /dev/null || { echo "web: $tool is missing (scripts/setup installs it)"; exit 77; }
done
/usr/bin/python3 -c 'import selenium, fontTools' 2> /dev/null ||
  { echo "web: python3-selenium or python3-fonttools is missing (scripts/setup installs them)"; exit 77; }
[[ -f "$player/mowa.js" ]] || { echo "web: no player in $player (make web builds it)"; exit 77; }
make_scenarios

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
  MOWA_WEB_PLAYER=$player "$root/scripts/web-pack" "$work/s/$scene" "$work/site/$scene" > /dev/null
  reference "$scene" "$work/$scene-before.rgb" '60 key 27'
done
MOWA_WEB_PLAYER=$player "$root/scripts/web-pack" "$work/s/klänge" "$work/site/klaenge" > /dev/null
# A story that ships a save file (@10 = 1) and saves @10 = 2: red at the
# first visit, green once its own save is read back after a reload.
mkdir -p "$work/s/kept/data"
printf '@10=1\r\nsave\r\n' > "$work/s/kept/data/mowa.snr"
(cd "$work/s/kept" && "$headless" . > /dev/null 2>&1) || fail "mowa-headless could not write the shipped save file"
printf '%s\r\n' 'load' 'if"@10=2,kept,first"' '[first]' '@10=2' 'save' \
  'boxfill"0,0,640,480,255"' 'goto"wait"' '[kept]' 'boxfill"0,0,640,480,65280"' \
  '[wait]' 'get_mouse_state"@01"' 'goto"wait"' > "$work/s/kept/data/mowa.snr"
MOWA_WEB_PLAYER=$player "$root/scripts/web-pack" "$work/s/kept" "$work/site/kept" > /dev/null
reference pictures "$work/pictures-after.rgb" '40 move 100 100' '40 ldown' '60 lup' \
  '80 move 300 200' '80 rdown' '100 rup' '120 move 500 400' '120 ldown' '130 lup' '170 key 27'
/usr/bin/python3 "$here/web_test.py" "$work"
