#!/usr/bin/env bash
# mowa.exe under Wine on a virtual 640x480 screen: each scenario of
# make_scenarios.sh is played by the Windows program and by mowa-headless
# with the same input, and the screens are compared; the boxes, the exit
# code, save.dat and the sound requests are checked.
#
# usage: run.sh MOWA_EXE MOWA_HEADLESS
# Needs a 640x480 X display in DISPLAY (ctest runs it under
# xvfb-run -s "-screen 0 640x480x24 -noreset"), wine, xdotool, ImageMagick, sox and
# python3. The Wine prefix is made afresh for each run.
set -euo pipefail
name=wine missing_status=1
source "$(dirname "$0")/../scenarios/on_screen.sh"
need wine wineboot wineserver xdotool import compare sox python3
# No prompts to install .NET or a browser engine into the fresh prefix.
export WINEPREFIX=$work/prefix WINEDEBUG=-all HOME=$work/home WINEDLLOVERRIDES="mscoree=d;mshtml=d"
trap 'wineserver -k 2> /dev/null || true; cleanup' EXIT
launch() { cd "$work/s/$1" && exec wine "$program"; }
make_scenarios
# One server for every run: starting it is most of Wine's start-up.
mkdir -p "$HOME" "$WINEPREFIX"
wineserver -p 120
wineboot -i > /dev/null 2>&1 || fail "wineboot could not make the prefix"

# ---- pictures, sprites, copies, fades, the zoom and boxes; clicks ----
headless_screen pictures "$work/after.png" < <(clicks_input)
start pictures
await_screen "$work/before.png" "the composed picture"
clicks
await_screen "$work/after.png" "the clicked picture"
leave
# Quick clicks are seen; F12 writes the picture as mowa-headless shows it;
# M is kept in the settings file for the next start.
start pictures
await_screen "$work/before.png" "the composed picture"
screenshot "$work" '*mowa/pictures-*.png'
xdotool key m
kept() { grep -qx 'muted=1' "$(found "$WINEPREFIX" '*AppData/Roaming/mowa/settings.ini')"; }
within 50 kept 2> /dev/null || fail "M is not kept in %APPDATA%\\mowa\\settings.ini"
quick_clicks
await_screen "$work/after.png" "the quickly clicked picture"
leave
# A release while a box is open reaches the mouse state once it closes.
unstuck

# ---- text: every message cell inked as mowa-headless inks it ----
headless_screen text "$work/text.png" <<< '40 key 27'
start text
sleep 1
inked() { import -window root "$work/screen.png" && python3 "$here/inked_cells.py" "$work/text.png" "$work/screen.png"; }
within 100 inked > /dev/null || { inked || true; fail "the text is not where mowa-headless puts it"; }
leave

# ---- save.dat written and read back: @10 = 12345, @11 = -2, @99 = 2^31-1 ----
headless_screen save "$work/save.png" <<< '40 key 27'
mv "$work/s/save/data/save.dat" "$work/save.headless.dat"
start save
await_screen "$work/save.png" "the loaded variables"
leave
cmp "$work/s/save/data/save.dat" "$work/save.headless.dat" || fail "save.dat differs from the one mowa-headless writes"
{ head -c 40 /dev/zero; printf '\0\0\x30\x39\xff\xff\xff\xfe'; head -c 348 /dev/zero; printf '\x7f\xff\xff\xff'; } |
  cmp - "$work/s/save/data/save.dat" || fail "save.dat does not hold the variables"

# ---- Japanese names on a system that is not Japanese ----
# LANG=C gives an English Windows (code page 1252); Wine still needs a
# UTF-8 character type to spell the host's Japanese file names.
headless_screen japanese "$work/japanese.png" <<< '40 key 27'
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
xdotool key Return
await_screen "$work/sound.png" "the picture of the sound scenario"
leave
# play_wav asks once, asynchronously, by file name (0x20001); Wine's
# sequencer opens and plays without a MIDI device.
grep -qi 'mciSendStringW (L"open .*tune\.mid type sequencer alias myseq"' "$err" || fail "no MCI open of the music"
for request in 'mowa: \[open [A-Z]:\\.*\\data\\missing\.mid type sequencer alias myseq\] .' \
    'PlaySound .*fdwSound=00020001' 'SoundName=L"beep\.wav"' \
    'mciSendStringW (L"play myseq notify"' 'mciSendStringW (L"close myseq"'; do
  grep -q "$request" "$err" || fail "no $request"
done
grep -q 'mowa: \[open .*tune\.mid' "$err" && fail "the music did not open"

# ---- the zoom: what Windows' StretchDIBits makes of each source rectangle
# is what the software GDI shows of it ----
scene=zoom err=/dev/null
"$headless" --input <(echo '40 key 27') --frames "$work/zoom-frames" "$work/s/zoom" > /dev/null 2>&1 \
  || fail "mowa-headless failed"
mkdir -p "$work/zoom-probe"
(cd "$work/zoom-probe" && wine "$(dirname "$program")/gdi_probe.exe" ../s/zoom/plasma.bmp .) || fail "gdi_probe.exe failed"
for frame in "$work"/zoom-frames/frame-*.png; do convert "$frame" -depth 8 rgb:- | sha1sum; done > "$work/shown"
for width in $(seq 600 -40 280); do
  grep -qF "$(sha1sum < "$work/zoom-probe/zoom-$width.rgb")" "$work/shown" \
    || fail "the frame of the $width-pixel-wide source rectangle is not what Windows' GDI draws"
done

# ---- scaled: on a 1280x1024 screen the picture is doubled between bars ----
# A screen of its own, and a server that starts afresh on it.
wineserver -k 2> /dev/null || true
own_screen
wineserver -p 120
view=("${doubled[@]}")
start pictures
await_screen "$work/before.png" "the picture doubled"
clicks 2 1 33
await_screen "$work/after.png" "the doubled picture clicked"
# Alt+Enter: a 640x480 window at the origin. Without a window manager Wine
# makes the window anew when it leaves full screen, and the X keyboard focus
# that a click gave the old one is lost: it is given to the new one.
xdotool key alt+Return
xdotool mousemove 320 240
view=("${window[@]}")
await_screen "$work/after.png" "the picture in a window after Alt+Enter"
for id in $(xdotool search --name '^MowaMowa$'); do xdotool windowfocus "$id" 2> /dev/null || true; done
leave

echo "wine: pictures, clicks, text, save.dat, Japanese names, sound, the zoom, scaling, Alt+Enter and the farewell box as expected"
