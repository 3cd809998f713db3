#!/usr/bin/env bash
# The real program in a real (virtual) window: mowa plays a test scenario on
# an X display, is clicked and left with xdotool, and what the screen shows
# must equal, pixel for pixel, the picture mowa-headless makes of the same
# scenario with the same input.
#
# usage: run.sh MOWA MOWA_HEADLESS
# Needs a 640x480 X display in DISPLAY (ctest runs it under
# xvfb-run -s "-screen 0 640x480x24"), xdotool, ImageMagick and python3;
# exits 77 (skipped) with a message when one of them is missing.
set -euo pipefail
mowa=$1
headless=$2
here=$(cd "$(dirname "$0")" && pwd)

for tool in xdotool import compare python3; do
  command -v "$tool" > /dev/null || { echo "real_window: $tool is missing (scripts/setup installs it)"; exit 77; }
done
[[ -n "${DISPLAY:-}" ]] || { echo "real_window: no DISPLAY; run under xvfb-run"; exit 77; }

work=$(mktemp -d)
pid=""
cleanup() {
  if [[ -n "$pid" ]] && kill -0 "$pid" 2> /dev/null; then kill -9 "$pid" 2> /dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "real_window: $*"
  [[ -f "$work/mowa.err" ]] && { echo "--- mowa's standard error:"; cat "$work/mowa.err"; }
  exit 1
}

python3 "$here/make_scenario.py" "$work/run"
# No sound device is needed to play a silent scenario.
export SDL_AUDIODRIVER=dummy

# What the window must show: first the picture alone, then with the marks of
# a left click at (100, 100), a right click at (300, 200) and a left
# double-click at (500, 400). Headless input is keyed to idle steps; the
# scenario polls, so each press is seen whatever the step.
printf '20 key 27\n' > "$work/before.txt"
cat > "$work/clicks.txt" << 'INPUT'
10 move 100 100
10 ldown
30 lup
50 move 300 200
50 rdown
70 rup
90 move 500 400
90 ldown
100 lup
110 ldbl
120 lup
140 key 27
INPUT
"$headless" --input "$work/before.txt" --screenshot "$work/before.png" "$work/run" > /dev/null 2>&1 \
  || fail "mowa-headless failed on the scenario"
"$headless" --input "$work/clicks.txt" --screenshot "$work/after.png" "$work/run" > /dev/null 2>&1 \
  || fail "mowa-headless failed on the clicks"

# Differing pixels between the screen and a picture ("" when unreadable).
differing() {
  import -window root "$work/screen.png" 2> /dev/null || { echo ""; return; }
  compare -metric AE "$work/screen.png" "$1" null: 2>&1 || true
}
# Waits up to 10 s for the screen to show the picture.
await_screen() {
  local n=""
  for _ in $(seq 100); do
    n=$(differing "$1")
    [[ "$n" == "0" ]] && return 0
    sleep 0.1
  done
  cp "$work/screen.png" "${TMPDIR:-/tmp}/real_window-screen.png" 2> /dev/null || true
  fail "$2: $n pixels differ from mowa-headless (screen kept in ${TMPDIR:-/tmp}/real_window-screen.png)"
}
# A press held long enough for the polling scenario to see it.
press() {  # BUTTON X Y
  xdotool mousemove "$2" "$3"
  sleep 0.05
  xdotool mousedown "$1"
  sleep 0.15
  xdotool mouseup "$1"
  sleep 0.1
}

# Started elsewhere with the scenario's folder as its argument.
(cd / && exec "$mowa" --trace "$work/run" > "$work/mowa.out" 2> "$work/mowa.err") &
pid=$!
for _ in $(seq 100); do
  xdotool search --name '^MowaMowa$' > /dev/null 2>&1 && break
  kill -0 "$pid" 2> /dev/null || fail "mowa ended before its window opened"
  sleep 0.1
done
xdotool search --name '^MowaMowa$' > /dev/null 2>&1 || fail "no window named MowaMowa"

await_screen "$work/before.png" "the loaded picture"
press 1 100 100
press 3 300 200
press 1 500 400
# A double-click: the second press is a double-click message.
xdotool mousedown 1; sleep 0.1; xdotool mouseup 1; sleep 0.05
xdotool mousedown 1; sleep 0.15; xdotool mouseup 1
await_screen "$work/after.png" "the clicked picture"

# Escape: the farewell box opens over the window; Enter closes it.
xdotool key Escape
for _ in $(seq 100); do
  grep -q 'ばいばいもわもわ' "$work/mowa.err" && break
  sleep 0.1
done
grep -qF 'mowa: [from 星屑の小瓶] ばいばいもわもわ～！！' "$work/mowa.err" \
  || fail "no farewell box after Escape"
shown=0
for _ in $(seq 50); do
  n=$(differing "$work/after.png")
  [[ -n "$n" && "$n" != "0" ]] && { shown=1; break; }
  sleep 0.1
done
[[ $shown -eq 1 ]] || fail "the farewell box is not on the screen"
xdotool key Return
for _ in $(seq 100); do
  kill -0 "$pid" 2> /dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2> /dev/null && fail "mowa still runs after its farewell box was closed"
code=0
wait "$pid" || code=$?
pid=""
[[ $code -eq 0 ]] || fail "mowa ended with exit code $code"
# --trace: one line a statement on standard error, in step with the screen:
# the first left click, at (100, 100), drew the red square there.
grep -qxF '1: gload"pic.bmp,0,0,0"' "$work/mowa.err" || fail "no trace line for the first statement"
grep -qxF '6: get_mouse_position"@02,@03"  @02 0 → 100  @03 0 → 100' "$work/mowa.err" \
  || fail "no trace line for the first click's position"
grep -A4 -F '@02 0 → 100' "$work/mowa.err" | grep -qxF '11: boxfill"@02,@03,@04,@05,255"' \
  || fail "the trace does not show the red square drawn after the first click"
[[ ! -s "$work/mowa.out" ]] || fail "standard output holds more than the program's trace lines"
echo "real_window: picture, clicks, Escape, the farewell box and the trace as expected"
