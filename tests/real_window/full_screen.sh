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
mowa=$(realpath "$1")
headless=$(realpath "$2")
name=full_screen missing_status=77
DISPLAY=${DISPLAY:-none}
source "$(dirname "$0")/../scenarios/on_screen.sh"
need Xvfb openbox xdotool import compare convert sox python3
export SDL_AUDIODRIVER=dummy
launch() { cd / && exec "$mowa" "$work/s/$1"; }
make_scenarios
headless_screen pictures "$work/before.png" <<< '60 key 27'

servers=()
trap 'for p in "${servers[@]}"; do kill "$p" 2> /dev/null || true; done; cleanup' EXIT
for manager in none openbox; do
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3> "$work/display" 2> /dev/null &
  servers+=($!)
  within 50 test -s "$work/display" || fail "no 1280x1024 screen"
  export DISPLAY=:$(cat "$work/display")
  if [[ $manager == openbox ]]; then
    openbox --sm-disable > /dev/null 2>&1 &
    servers+=($!)
    sleep 1
  fi
  xdotool mousemove 640 512
  doubled=(-crop 1280x960+0+32 -sample 640x480) window=(-crop 640x480+0+0)
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
