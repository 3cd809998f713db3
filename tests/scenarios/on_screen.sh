# Sourced by the tests that play a scenario of make_scenarios.sh in a real
# window (mowa under X, mowa.exe under Wine) and compare the screen, pixel
# for pixel, with what mowa-headless shows of it with the same input, and by
# the other tests of the real program, for its helpers.
# The caller's arguments are PROGRAM [MOWA_HEADLESS]. It sets `name` (the
# prefix of its messages) and `missing_status` (the exit status when a tool
# is missing, 77 unless set), may redefine `launch NAME`, which runs the
# program on scenario NAME in the foreground, checks its tools with `need`
# and writes the scenarios into $work/s with `make_scenarios`.
program=$(realpath "$1")
headless=${2:+$(realpath "$2")}
missing_status=${missing_status:-77}
work=$(mktemp -d)
here=$(cd "$(dirname "${BASH_SOURCE[1]}")" && pwd)
scenarios=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# No sound device is needed to play these scenarios.
export SDL_AUDIODRIVER=dummy
# Started elsewhere with the scenario's folder as its argument.
launch() { cd / && exec "$program" "$work/s/$1"; }
# The scenarios, and what mowa-headless shows of the pictures scenario.
make_scenarios() {
  bash "$scenarios/make_scenarios.sh" "$work/s" || fail "the scenarios could not be made"
  headless_screen pictures "$work/before.png" <<< '60 key 27'
}
pid="" scene="" err=/dev/null servers=()
# What of the screen shows the 640x480 picture: all of it in a window at the
# origin, or doubled between bars on a 1280x1024 screen.
window=(-crop 640x480+0+0) doubled=(-crop 1280x960+0+32 -sample 640x480)
view=("${window[@]}")
cleanup() {
  if [[ -n "$pid" ]] && kill -0 "$pid" 2> /dev/null; then kill -9 "$pid" 2> /dev/null || true; fi
  for server in "${servers[@]}"; do kill "$server" 2> /dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "$name${scene:+ ($scene)}: $*"
  [[ -s "$err" ]] && { echo "--- the program's standard error:"; cat "$err"; }
  exit 1
}
need() {  # TOOL...
  for tool; do
    command -v "$tool" > /dev/null || { echo "$name: $tool is missing (scripts/setup installs it)"; exit "$missing_status"; }
  done
  [[ -n "${DISPLAY:-}" ]] || { echo "$name: no DISPLAY; run under xvfb-run"; exit "$missing_status"; }
}
within() {  # TENTHS COMMAND...: whether the command succeeds within the time
  local tenths=$1
  shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  return 1
}
# A 1280x1024 X server of its own in DISPLAY, ended at the exit.
own_screen() {
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3> "$work/display" 2> /dev/null &
  servers+=($!)
  within 50 test -s "$work/display" || fail "no 1280x1024 screen"
  export DISPLAY=:$(cat "$work/display")
}
# Differing pixels between the screen and a picture ("" when unreadable).
differing() {
  import -window root "$work/whole.png" 2> /dev/null || { echo ""; return; }
  convert "$work/whole.png" "${view[@]}" +repage "$work/screen.png" 2> /dev/null || { echo ""; return; }
  compare -metric AE "$work/screen.png" "$1" null: 2>&1 || true
}
shows() { [[ $(differing "$1") == 0 ]]; }  # PICTURE
hides() { [[ ! $(differing "$1") =~ ^(0|)$ ]]; }  # PICTURE: the screen differs from it
await_screen() {  # PICTURE WHAT: waits up to 15 s for the screen to show it
  within 150 shows "$1" && return 0
  cp "$work/screen.png" "${TMPDIR:-/tmp}/$name-$scene-screen.png" 2> /dev/null || true
  fail "$2: $(differing "$1") pixels differ from mowa-headless (screen kept in ${TMPDIR:-/tmp}/$name-$scene-screen.png)"
}
# F12 writes the picture alone, as mowa-headless shows it, into a file whose
# path matches PATTERN under FOLDER.
screenshot() {  # FOLDER PATTERN
  xdotool mousemove 320 240 key F12
  within 150 found "$@" > /dev/null || fail "no screenshot $2 after F12"
  [[ $(compare -metric AE "$(found "$@")" "$work/before.png" null: 2>&1) == 0 ]] \
    || fail "the screenshot differs from mowa-headless --screenshot"
}
found() { find "$1" -path "$2" -print -quit 2> /dev/null | grep .; }  # FOLDER PATTERN
shown() { grep -qF "$1" "$err"; }
ended() { ! kill -0 "$pid" 2> /dev/null; }
seen_box() { within "${2:-150}" shown "$1"; }  # TEXT [TENTHS]
# A press held long enough for the polling scenario to see it, even on a
# busy machine.
press() { xdotool mousemove "$2" "$3" sleep 0.05 mousedown "$1" sleep 0.4 mouseup "$1" sleep 0.2; }  # BUTTON X Y
# The clicks of the click loop: left at (100, 100), right at (300, 200),
# left and a double-click at (500, 400); on a screen where the picture is
# SCALE times as large from (DX, DY).
clicks() {  # [SCALE DX DY]
  local s=${1:-1} dx=${2:-0} dy=${3:-0}
  press 1 $((100 * s + dx)) $((100 * s + dy))
  press 3 $((300 * s + dx)) $((200 * s + dy))
  press 1 $((500 * s + dx)) $((400 * s + dy))
  # The second press is a double-click message.
  xdotool mousedown 1 sleep 0.1 mouseup 1 sleep 0.05 mousedown 1 sleep 0.4 mouseup 1
}
# The same clicks, each pressed and released at once (xdotool click, a
# touchpad's tap): the press and its release reach the program together.
quick_clicks() {
  xdotool mousemove 100 100 sleep 0.05 click 1 sleep 0.4
  xdotool mousemove 300 200 sleep 0.05 click 3 sleep 0.4
  xdotool mousemove 500 400 sleep 0.05 click 1 sleep 0.4
  xdotool click --repeat 2 --delay 80 1 sleep 0.4
}
# The same clicks for mowa-headless, whose input is keyed to idle steps.
clicks_input() {
  printf '%s\n' '40 move 100 100' '40 ldown' '60 lup' '80 move 300 200' '80 rdown' '100 rup' \
    '120 move 500 400' '120 ldown' '130 lup' '140 ldbl' '150 lup' '170 key 27'
}
# What mowa-headless shows of scenario NAME with the input given.
headless_screen() {  # NAME PNG < INPUT
  cat > "$work/input.txt"
  "$headless" --input "$work/input.txt" --screenshot "$2" "$work/s/$1" > "$work/$1.headless" 2>&1 \
    || fail "mowa-headless failed on $1"
}
opened() { xdotool search --name '^MowaMowa$' > /dev/null 2>&1 || ended; }
start() {  # NAME
  scene=$1 err=$work/$1.err
  launch "$1" > "$work/$1.out" 2> "$err" &
  pid=$!
  within 150 opened || fail "no window named MowaMowa"
  ! ended || fail "the program ended before its window opened"
}
farewell='mowa: [from 星屑の小瓶] ばいばいもわもわ～！！'
# Escape: the farewell box (over PICTURE, when given); Enter closes it and
# the program ends with 0. Wine may hand the keyboard to a window a moment
# after it was placed: Escape is pressed again while no box has come.
leave() {  # [PICTURE]
  for _ in 1 2 3; do
    xdotool key Escape
    seen_box "$farewell" 30 && break
  done
  seen_box "$farewell" 1 || fail "no farewell box after Escape (DISPLAY $DISPLAY)"
  [[ -z "${1:-}" ]] || within 50 hides "$1" || fail "the farewell box is not on the screen"
  sleep 0.3
  xdotool key Return
  ends_with 0
}
# The program ends within 10 s (its farewell box closed, or a signal
# received) with the exit status.
ends_with() {  # STATUS
  local code=0
  within 100 ended || fail "the program still runs"
  wait "$pid" || code=$?
  pid=""
  [[ $code -eq $1 ]] || fail "the program ended with exit code $code, not $1"
}
# Scenario stuck: the right button is pressed, the check box it brings
# comes, the button is released meanwhile and the box closed with Enter; a
# left click must then be seen alone (the screen turns red).
colour=""
red() {
  import -window root "$work/whole.png" 2> /dev/null || return 1
  colour=$(convert "$work/whole.png" -crop 1x1+100+100 \
    -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:)
  [[ $colour == 255,0,0 ]]
}
unstuck() {
  start stuck
  sleep 0.5
  xdotool mousemove 320 240 sleep 0.05 mousedown 3
  seen_box 'check=2(script_pointer=' || { xdotool mouseup 3; fail "no check box after the right press"; }
  xdotool sleep 0.3 mouseup 3 sleep 0.3 key Return sleep 0.5
  xdotool mousemove 100 100 sleep 0.05 click 1
  within 30 red || fail "a left click after the box is not seen: the right button stays down (the screen shows $colour)"
  [[ $(grep -c 'check=' "$err") == 1 ]] || fail "the check box came more than once"
  leave
}
