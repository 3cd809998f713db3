#!/usr/bin/env bash
# Full screen and Alt+Enter on a screen larger than the picture, on a bare X
# server and under a window manager (openbox): full screen shows the
# picture doubled between black bars, Alt+Enter a 640x480 window at the
# origin, and Alt+Enter again full screen once more.
#
# usage: full_screen.sh MOWA MOWA_HEADLESS
# Starts X servers of its own with Xvfb; exits 77 (skipped) with a message
# when Xvfb, openbox, xdotool or ImageMagick is missing.
set -euo pipefail
name=full_screen
DISPLAY=${DISPLAY:-none}
source "$(dirname "$0")/../scenarios/on_screen.sh"
need Xvfb openbox xdotool import compare convert sox python3
make_scenarios
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
echo "full_screen: full screen and Alt+Enter with and without a window manager as expected"
