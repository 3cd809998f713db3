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
name=reader_keys
source "$(dirname "$0")/../scenarios/on_screen.sh"
need xdotool import compare convert sox python3
export HOME=$work/home
unset XDG_CONFIG_HOME XDG_PICTURES_DIR
make_scenarios
settings=$HOME/.config/mowa/settings.ini

# ---- F12: the picture alone, 640x480, into ~/Pictures/mowa ----
start pictures
await_screen "$work/before.png" "the composed picture"
screenshot "$HOME" "$HOME/Pictures/mowa/pictures-*.png"
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
  ends_with 0
}
run_waits
plain=$elapsed
run_waits ctrl
(( elapsed * 2 < plain )) || fail "with Ctrl held the waits took ${elapsed} s, without ${plain} s"
echo "reader_keys: F12, the kept volume and mute, and Ctrl's fast-forward (${elapsed} s against ${plain} s) as expected"
