#!/usr/bin/env bash
# mowa.exe under Wine on a virtual 640x480 screen: each scenario of
# make_scenarios.sh is played by the Windows program and by mowa-headless
# with the same input, and the screens are compared; the boxes, the exit
# code, save.dat and the sound requests are checked.
#
# usage: run.sh MOWA_EXE MOWA_HEADLESS
# Needs a 640x480 X display in DISPLAY (ctest runs it under
# xvfb-run -s "-screen 0 640x480x24"), wine, xdotool, ImageMagick, sox and
# python3. The Wine prefix is made afresh for each run.
set -euo pipefail
exe=$(realpath "$1")
headless=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)

for tool in wine wineboot wineserver xdotool import compare sox python3; do
  command -v "$tool" > /dev/null || { echo "wine: $tool is missing (scripts/setup installs it)"; exit 1; }
done
[[ -n "${DISPLAY:-}" ]] || { echo "wine: no DISPLAY; run under xvfb-run"; exit 1; }

work=$(mktemp -d)
pid=""
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# No prompts to install .NET or a browser engine into the fresh prefix.
export WINEDLLOVERRIDES="mscoree=d;mshtml=d"
cleanup() {
  if [[ -n "$pid" ]] && kill -0 "$pid" 2> /dev/null; then kill -9 "$pid" 2> /dev/null || true; fi
  wineserver -k 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
scene=""
fail() {
  echo "wine ($scene): $*"
  import -window root "${TMPDIR:-/tmp}/wine-failed-screen.png" 2> /dev/null \
    && echo "(the screen is kept in ${TMPDIR:-/tmp}/wine-failed-screen.png)"
  [[ -f "$work/$scene.err" ]] && { echo "--- mowa.exe's standard error:"; cat "$work/$scene.err"; }
  exit 1
}

bash "$here/make_scenarios.sh" "$work/s"
# One server for every run: starting it is most of Wine's start-up.
mkdir -p "$WINEPREFIX"
wineserver -p 120
wineboot -i > /dev/null 2>&1 || fail "wineboot could not make the prefix"

# What of the screen shows the 640x480 picture: all of it, unless a larger
# screen is in use (see the scaled run below).
view=(-crop 640x480+0+0)
# Differing pixels between the screen and a picture ("" when unreadable).
differing() {
  import -window root "$work/whole.png" 2> /dev/null || { echo ""; return; }
  convert "$work/whole.png" "${view[@]}" +repage "$work/screen.png" 2> /dev/null || { echo ""; return; }
  compare -metric AE "$work/screen.png" "$1" null: 2>&1 || true
}
await_screen() {  # PICTURE WHAT
  local n=""
  for _ in $(seq 150); do
    n=$(differing "$1")
    [[ "$n" == "0" ]] && return 0
    sleep 0.1
  done
  cp "$work/screen.png" "${TMPDIR:-/tmp}/wine-$scene-screen.png" 2> /dev/null || true
  fail "$2: $n pixels differ from mowa-headless (screen kept in ${TMPDIR:-/tmp}/wine-$scene-screen.png)"
}
seen_box() {  # TEXT [TENTHS]: whether the box was shown within the time
  for _ in $(seq "${2:-150}"); do
    grep -qF "$1" "$work/$scene.err" && return 0
    kill -0 "$pid" 2> /dev/null || return 1
    sleep 0.1
  done
  return 1
}
# A press held long enough for the polling scenario to see it, even on a
# busy machine.
press() {  # BUTTON X Y
  xdotool mousemove "$2" "$3"
  sleep 0.05
  xdotool mousedown "$1"
  sleep 0.4
  xdotool mouseup "$1"
  sleep 0.2
}
double_click() {  # the second press is a double-click message
  xdotool mousedown 1; sleep 0.1; xdotool mouseup 1; sleep 0.05
  xdotool mousedown 1; sleep 0.4; xdotool mouseup 1
}
# What mowa-headless shows of scenario NAME with the input given.
headless_screen() {  # NAME PNG < INPUT
  cat > "$work/input.txt"
  "$headless" --input "$work/input.txt" --screenshot "$2" "$work/s/$1" > "$work/$1.headless" 2>&1 \
    || fail "mowa-headless failed"
}
start() {  # NAME
  scene=$1
  (cd "$work/s/$1" && exec wine "$exe" > "$work/$1.out" 2> "$work/$1.err") &
  pid=$!
  for _ in $(seq 150); do
    xdotool search --name '^MowaMowa$' > /dev/null 2>&1 && return 0
    kill -0 "$pid" 2> /dev/null || fail "mowa.exe ended before its window opened"
    sleep 0.1
  done
  fail "no window named MowaMowa"
}
# Escape: the farewell box; Enter closes it and the program ends with 0.
# Wine may hand the keyboard to a window a moment after it was placed:
# Escape is pressed again while no box has come.
leave() {
  local farewell='mowa: [from 星屑の小瓶] ばいばいもわもわ～！！' tries
  for tries in 1 2 3; do
    xdotool key Escape
    seen_box "$farewell" 30 && break
  done
  seen_box "$farewell" 1 || fail "no farewell box after Escape (DISPLAY $DISPLAY)"
  sleep 0.3
  xdotool key Return
  for _ in $(seq 100); do
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2> /dev/null && fail "mowa.exe still runs after its farewell box was closed"
  local code=0
  wait "$pid" || code=$?
  pid=""
  [[ $code -eq 0 ]] || fail "mowa.exe ended with exit code $code"
}

# ---- pictures, sprites, copies, fades, the zoom and boxes; clicks ----
headless_screen pictures "$work/pictures-before.png" <<< '60 key 27'
headless_screen pictures "$work/pictures-after.png" << 'INPUT'
40 move 100 100
40 ldown
60 lup
80 move 300 200
80 rdown
100 rup
120 move 500 400
120 ldown
130 lup
140 ldbl
150 lup
170 key 27
INPUT
start pictures
await_screen "$work/pictures-before.png" "the composed picture"
press 1 100 100
press 3 300 200
press 1 500 400
double_click
await_screen "$work/pictures-after.png" "the clicked picture"
leave

# ---- text: every message cell inked as mowa-headless inks it ----
headless_screen text "$work/text.png" <<< '40 key 27'
start text
sleep 1
for _ in $(seq 100); do
  import -window root "$work/screen.png"
  python3 "$here/inked_cells.py" "$work/text.png" "$work/screen.png" > "$work/cells.txt" && break
  sleep 0.1
done
python3 "$here/inked_cells.py" "$work/text.png" "$work/screen.png" \
  || fail "the text is not where mowa-headless puts it"
leave

# ---- save.dat written and read back ----
headless_screen save "$work/save.png" <<< '40 key 27'
mv "$work/s/save/data/save.dat" "$work/save.headless.dat"
start save
await_screen "$work/save.png" "the loaded variables"
leave
cmp "$work/s/save/data/save.dat" "$work/save.headless.dat" \
  || fail "save.dat differs from the one mowa-headless writes"
python3 - "$work/s/save/data/save.dat" << 'PY' || fail "save.dat does not hold the variables"
import struct, sys
values = struct.unpack(">100i", open(sys.argv[1], "rb").read())
expected = [0] * 100
expected[10], expected[11], expected[99] = 12345, -2, 2147483647
sys.exit(list(values) != expected)
PY

# ---- Japanese names on a system that is not Japanese ----
headless_screen japanese "$work/japanese.png" <<< '40 key 27'
# LANG=C gives an English Windows (code page 1252); Wine still needs a
# UTF-8 character type to spell the host's Japanese file names.
LANG=C LC_CTYPE=C.UTF-8 LC_ALL="" start japanese
await_screen "$work/japanese.png" "the pictures with Japanese names"
leave
[[ $(grep -c 'mowa: \[' "$work/japanese.err") -eq 1 ]] || fail "a box besides the farewell"

# ---- sound: the requests made, their failures reported ----
headless_screen klänge "$work/sound.png" <<< '40 key 27'
# The music is found through the folder's short name.
LANG=C LC_CTYPE=C.UTF-8 LC_ALL="" WINEDEBUG=trace+winmm,trace+mci start klänge
# The missing music: the system's MCI error text in a box captioned with
# the open command.
seen_box 'missing.mid type sequencer alias myseq]' || fail "no box for the missing music"
grep -q 'mowa: \[open [A-Z]:\\.*\\data\\missing\.mid type sequencer alias myseq\] .' "$work/klänge.err" \
  || fail "the box of the missing music is not as expected"
xdotool key Return
await_screen "$work/sound.png" "the picture of the sound scenario"
leave
# play_wav asks once, asynchronously, by file name (0x20001).
grep -q 'PlaySound .*fdwSound=00020001' "$work/klänge.err" \
  && grep -q 'SoundName=L"beep\.wav"' "$work/klänge.err" || fail "no PlaySound request for beep.wav"
grep -qi 'mciSendStringW (L"open .*tune\.mid type sequencer alias myseq"' "$work/klänge.err" \
  || fail "no MCI open of the music"
grep -q 'mciSendStringW (L"play myseq notify"' "$work/klänge.err" || fail "no MCI play of the music"
grep -q 'mciSendStringW (L"close myseq"' "$work/klänge.err" || fail "no MCI close of the music"
# Wine's sequencer opens and plays without a MIDI device.
grep -q 'mowa: \[open .*tune\.mid' "$work/klänge.err" && fail "the music did not open"

# ---- the zoom: what Windows' StretchDIBits makes of each source rectangle
# is what the software GDI shows of it ----
"$headless" --input <(echo '40 key 27') --frames "$work/zoom-frames" "$work/s/zoom" > /dev/null 2>&1 \
  || fail "mowa-headless failed"
mkdir -p "$work/zoom-probe"
(cd "$work/zoom-probe" && wine "$(dirname "$exe")/gdi_probe.exe" ../s/zoom/plasma.bmp .) \
  || fail "gdi_probe.exe failed"
scene=zoom
python3 - "$work/zoom-probe" "$work"/zoom-frames/frame-*.png << 'PY' || fail "a frame of the zoom is not what Windows' GDI draws"
import hashlib, subprocess, sys
shown = {hashlib.sha1(subprocess.run(["convert", f, "-depth", "8", "rgb:-"], check=True,
                                     capture_output=True).stdout).digest() for f in sys.argv[2:]}
for width in range(600, 279, -40):
    with open(f"{sys.argv[1]}/zoom-{width}.rgb", "rb") as f:
        if hashlib.sha1(f.read()).digest() not in shown:
            sys.exit(f"the {width}-pixel-wide source rectangle")
PY

# ---- scaled: on a 1280x1024 screen the picture is doubled between bars ----
# A screen of its own, and a server that starts afresh on it.
wineserver -k 2> /dev/null || true
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" 2> /dev/null &
xvfb=$!
trap 'kill $xvfb 2> /dev/null || true; cleanup' EXIT
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || fail "no 1280x1024 screen"
export DISPLAY=:$(cat "$work/display")
wineserver -p 120
view=(-crop 1280x960+0+32 -sample 640x480)
start pictures
await_screen "$work/pictures-before.png" "the picture doubled"
press 1 201 233
press 3 601 433
press 1 1001 833
double_click
await_screen "$work/pictures-after.png" "the doubled picture clicked"
# Alt+Enter: a 640x480 window at the origin. Without a window manager Wine
# makes the window anew when it leaves full screen, and the X keyboard focus
# that a click gave the old one is lost: it is given to the new one.
xdotool key alt+Return
xdotool mousemove 320 240
view=(-crop 640x480+0+0)
await_screen "$work/pictures-after.png" "the picture in a window after Alt+Enter"
for window in $(xdotool search --name '^MowaMowa$'); do xdotool windowfocus "$window" 2> /dev/null || true; done
leave

echo "wine: pictures, clicks, text, save.dat, Japanese names, sound, the zoom, scaling, Alt+Enter and the farewell box as expected"
