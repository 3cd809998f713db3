#!/usr/bin/env bash
# Ending mowa from outside: a first SIGTERM or SIGINT closes the program as
# the window's close request does (the farewell box); a second one, or one
# while a box is open, ends it at once, with save.dat as the scenario saved
# it. Runs on SDL's dummy video and audio drivers: no display is needed.
#
# usage: run.sh MOWA
set -uo pipefail
name=signals
source "$(dirname "$0")/../scenarios/on_screen.sh"
export SDL_VIDEODRIVER=dummy ASAN_OPTIONS=detect_leaks=0
err=$work/err
bye=${farewell#*] }  # the farewell's words, whatever the caption

# play SCENARIO: mowa plays it in a fresh folder; it saves @00 = 7 first,
# so that save.dat tells when the scenario runs.
play() {
  rm -rf "$work/run" "$err"
  mkdir -p "$work/run/data"
  printf '@00=7\nsave\n%s' "$1" > "$work/run/data/mowa.snr"
  (cd "$work/run" && exec "$program" > /dev/null 2> "$err") &
  pid=$!
  within 200 test -s "$work/run/data/save.dat" || fail "the scenario did not save"
}

# finish EXPECTED_STATUS: mowa ends with that status, save.dat holding
# @00 = 7 and the rest 0.
finish() {
  ends_with "$1"
  cmp -s "$work/run/data/save.dat" <(printf '\0\0\0\7'; head -c 396 /dev/zero) || fail "save.dat is not the one saved"
}

# A box is open: one signal ends the program, no farewell.
play $'check"@00"\nend\n'
seen_box 'check=7' 200 || fail "no check box"
kill -INT "$pid"
finish 130
shown "$bye" && fail "a farewell box after an interrupt in a box"

# Polling for a click: the first signal brings the farewell box as the close
# request does, and a second one ends the program while it is open.
play $'[loop]\nget_mouse_state"@01"\ngoto"loop"\n'
kill -TERM "$pid"
seen_box "$farewell" 200 || fail "no farewell box"
ended && fail "mowa ended without its farewell box being closed"
kill -TERM "$pid"
finish 143

# Inside a long wait the close request waits for the statement, as every
# request does; a second signal ends the program at once.
play $'wait"60000"\nend\n'
kill -TERM "$pid"
sleep 0.5
ended && fail "one signal ended a wait at once"
kill -TERM "$pid"
finish 143
shown "$bye" && fail "a farewell box after a second signal"
echo "signals: all cases passed"
