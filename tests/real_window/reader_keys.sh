#!/usr/bin/env bash
# The reader's keys in the real window, with HOME in a temporary folder:
# F12 writes the picture as mowa-headless shows it, M and - are kept in the
# settings file and read back at the next start, and with Ctrl held a
# scenario of long waits ends in a fraction of its time.
#
# usage: reader_keys.sh MOWA MOWA_HEADLESS
# Needs a 640x480 X display in DISPLAY (ctest runs it under xvfb-run);
# exits 77 (skipped) with a message when a tool is missing.
set -euo pipefail
mowa=$(realpath "$1")
headless=$(realpath "$2")
name=reader_keys missing_status=77
source "$(dirname "$0")/../scenarios/on_screen.sh"
need xdotool import compare convert sox python3
export SDL_AUDIODRIVER=dummy HOME=$work/home
unset XDG_CONFIG_HOME XDG_PICTURES_DIR
launch() { cd / && exec "$mowa" "$work/s/$1"; }
make_scenarios
farewell='mowa: [from 星屑の小瓶] ばいばいもわもわ～！！'
settings=$HOME/.config/mowa/settings.ini

# ---- F12: the picture alone, 640x480, into ~/Pictures/mowa ----
headless_screen pictures "$work/before.png" <<< '60 key 27'
start pictures
await_screen "$work/before.png" "the composed picture"
xdotool mousemove 320 240 key F12
shot() { compgen -G "$HOME/Pictures/mowa/pictures-*.png" > /dev/null; }
within 100 shot || fail "no screenshot in ~/Pictures/mowa after F12"
png=$(compgen -G "$HOME/Pictures/mowa/pictures-*.png" | head -1)
[[ $(compare -metric AE "$png" "$work/before.png" null: 2>&1) == 0 ]] \
  || fail "the screenshot differs from mowa-headless --screenshot"
# ---- M mutes, - steps down: kept for the next start ----
xdotool key m minus
within 50 grep -qx 'muted=1' "$settings" || fail "M is not kept in $settings"
grep -qx 'volume=90' "$settings" || fail "- is not kept in $settings"
leave
start pictures
await_screen "$work/before.png" "the composed picture again"
xdotool mousemove 320 240 key minus
within 50 grep -qx 'volume=80' "$settings" || fail "the volume was not read back at the start"
grep -qx 'muted=1' "$settings" || fail "muting was not read back at the start"
leave

# ---- Ctrl held: eight waits of a second pass ten times as fast ----
mkdir -p "$work/s/waits/data"
for _ in 1 2 3 4 5 6 7 8; do printf 'wait"1000"\r\n'; done > "$work/s/waits/data/mowa.snr"
printf 'end\r\n' >> "$work/s/waits/data/mowa.snr"
run_waits() {  # [ctrl]
  local started=$SECONDS
  start waits
  [[ -z "${1:-}" ]] || xdotool mousemove 320 240 keydown ctrl
  seen_box "$farewell" 200 || fail "the waits did not end"
  elapsed=$((SECONDS - started))
  xdotool keyup ctrl key Return
  within 100 ended || fail "the program still runs after its farewell box"
  wait "$pid" || true
  pid=""
}
run_waits
plain=$elapsed
run_waits ctrl
(( elapsed * 2 < plain )) || fail "with Ctrl held the waits took ${elapsed} s, without ${plain} s"
echo "reader_keys: F12, the kept volume and mute, and Ctrl's fast-forward (${elapsed} s against ${plain} s) as expected"
