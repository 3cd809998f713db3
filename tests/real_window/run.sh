#!/usr/bin/env bash
# The real program in a real (virtual) window: mowa plays the pictures
# scenario of make_scenarios.sh on an X display, is clicked and left with
# xdotool, and what the screen shows must equal, pixel for pixel, the
# picture mowa-headless makes of the same scenario with the same input.
#
# usage: run.sh MOWA MOWA_HEADLESS
# Needs a 640x480 X display in DISPLAY (ctest runs it under
# xvfb-run -s "-screen 0 640x480x24 -noreset"), xdotool, ImageMagick, sox and
# python3; exits 77 (skipped) with a message when one of them is missing.
set -euo pipefail
name=real_window
source "$(dirname "$0")/../scenarios/on_screen.sh"
need xdotool import compare convert sox python3
launch() { cd / && exec "$program" --trace "$work/s/$1"; }
make_scenarios
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
# Quick clicks: every press is seen by the scenario's click loop, the
# double-click's too.
start pictures
await_screen "$work/before.png" "the composed picture"
quick_clicks
await_screen "$work/after.png" "the quickly clicked picture"
leave "$work/after.png"
# A release while a box is open reaches the mouse state once it closes.
unstuck
echo "real_window: pictures, held and quick clicks, a release during a box, Escape, the farewell box and the trace as expected"
