#!/usr/bin/env bash
# The real program in real (virtual) windows: mowa plays the scenarios of
# make_scenarios.sh on an X display, is clicked, keyed and left with
# xdotool, and what the screen shows must equal, pixel for pixel, the
# picture mowa-headless makes of the same scenario with the same input.
# Held and quick clicks, --trace, a release during a box; the reader's keys
# with HOME in a temporary folder (F12 writes the picture as mowa-headless
# shows it, M and - are kept in the settings file and read back at the next
# start, with Ctrl held a scenario of long waits ends in a fraction of its
# time); full screen and Alt+Enter on a larger screen, on a bare X server
# and under a window manager (openbox).
#
# usage: run.sh MOWA MOWA_HEADLESS
# Needs a 640x480 X display in DISPLAY (ctest runs it under
# xvfb-run -s "-screen 0 640x480x24 -noreset") and starts larger X servers of
# its own with Xvfb; exits 77 (skipped) with a message when Xvfb, openbox,
# xdotool, ImageMagick, sox or python3 is missing.
set -euo pipefail
name=real_window
source "$(dirname "$0")/../scenarios/on_screen.sh"
need Xvfb openbox xdotool import compare convert sox python3
export HOME=$work/home
unset XDG_CONFIG_HOME XDG_PICTURES_DIR
launch() { cd / && exec "$program" --trace "$work/s/$1"; }
make_scenarios
settings=$HOME/.config/mowa/settings.ini

# ---- held clicks, and the trace of the run ----
headless_screen pictures "$work/after.png" < <(clicks_input)
start pictures
await_screen "$work/before.png" "the composed picture"
clicks
await_screen "$work/after.png" "the clicked picture"
leave "$work/after.png"
# --trace: one line a statement on standard error, in step with the screen:
# the first left click, at (100, 100), drew the red square there.
grep -qxF '1: gload"back.bmp,0,0,2"' "$err" || fail "no trace line for the first statement"
grep -qxF '19: get_mouse_position"@02,@03"  @02 0 → 100  @03 0 → 100' "$err" \
  || fail "no trace line for the first click's position"
grep -A4 -F '@02 0 → 100' "$err" | grep -qxF '24: boxfill"@02,@03,@04,@05,255"' \
  || fail "the trace does not show the red square drawn after the first click"
[[ ! -s "$work/pictures.out" ]] || fail "standard output holds more than the program's trace lines"

# ---- F12 into ~/Pictures/mowa; M mutes, - steps down; quick clicks ----
start pictures
await_screen "$work/before.png" "the composed picture"
screenshot "$HOME" "$HOME/Pictures/mowa/pictures-*.png"
xdotool key m minus
within 50 grep -qx 'muted=1' "$settings" || fail "M is not kept in $settings"
grep -qx 'volume=90' "$settings" || fail "- is not kept in $settings"
# Every quick press is seen by the scenario's click loop, the double-click's
# too.
quick_clicks
await_screen "$work/after.png" "the quickly clicked picture"
leave "$work/after.png"
# The volume and muting are read back at the next start.
start pictures
await_screen "$work/before.png" "the composed picture again"
xdotool mousemove 320 240 key minus
within 50 grep -qx 'volume=80' "$settings" || fail "the volume was not read back at the start"
grep -qx 'muted=1' "$settings" || fail "muting was not read back at the start"
leave
# A release while a box is open reaches the mouse state once it closes.
unstuck

# ---- Ctrl held: eight waits of a second pass ten times as fast ----
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

# ---- full screen: the picture doubled between black bars on a 1280x1024
# screen; Alt+Enter a 640x480 window at the origin, and full screen again ----
for manager in none openbox; do
  own_screen
  if [[ $manager == openbox ]]; then
    openbox --sm-disable > /dev/null 2>&1 &
    servers+=($!)
    sleep 1
  fi
  xdotool mousemove 640 512
  view=("${doubled[@]}")
  start pictures
  scene="pictures, window manager: $manager"
  await_screen "$work/before.png" "the picture doubled on the whole screen"
  for _ in 1 2; do
    xdotool mousemove 320 240 key alt+Return
    view=("${window[@]}")
    await_screen "$work/before.png" "the picture in a 640x480 window after Alt+Enter"
    xdotool key alt+Return
    view=("${doubled[@]}")
    await_screen "$work/before.png" "the picture doubled again after Alt+Enter"
  done
  leave
done
echo "real_window: held and quick clicks, the trace, a release during a box, F12, the kept volume and mute, Ctrl's fast-forward (${elapsed} s against ${plain} s), full screen and Alt+Enter with and without a window manager, Escape and the farewell box as expected"
