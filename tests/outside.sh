#!/usr/bin/env bash
# mowa from outside its window, with no display: what it answers to its
# arguments before it opens any window, and how SIGTERM and SIGINT end it: a
# first one closes the program as the window's close request does (the
# farewell box); a second one, or one while a box is open, ends it at once,
# with save.dat as the scenario saved it. The signals' runs use SDL's dummy
# video and audio drivers.
#
# usage: outside.sh MOWA   (with DISPLAY and WAYLAND_DISPLAY empty)
set -uo pipefail
name=outside
source "$(dirname "$0")/scenarios/on_screen.sh"
export ASAN_OPTIONS=detect_leaks=0

# ---- the arguments: each row the arguments, the exit status and a line the
# answer must hold ----
check() {  # STATUS PATTERN ARGS...
  local want=$1 pattern=$2 out status
  shift 2
  out=$(cd / && "$program" "$@" 2>&1 < /dev/null)
  status=$?
  [[ $status -eq $want ]] && grep -qE -- "$pattern" <<< "$out" \
    || fail "mowa $* gave status $status, wanted $want and /$pattern/: $out"
  # A refusal is one line.
  [[ $want -ne 2 || $(wc -l <<< "$out") -eq 1 ]] || fail "mowa $* answered with more than one line"
}
check 0 '^mowa [0-9]+\.[0-9]+\.[0-9]+$' --version
check 0 '^usage: mowa \[--trace\] \[FOLDER' --help
check 0 '^usage: mowa \[--trace\] \[FOLDER' --help --bogus
check 2 "^mowa: unknown option '--bogus'; usage: mowa \[--trace\] \[FOLDER" --bogus
check 2 "unknown option '-x'" -x
check 2 'one folder only; usage:' /tmp /tmp
check 2 '^mowa: cannot enter the folder /no/such/folder: ' /no/such/folder
# Without any display the folder is entered and the display refused.
check 1 'cannot open the display' /tmp

# ---- the signals ----
export SDL_VIDEODRIVER=dummy
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
echo "outside: the arguments and the signals as expected"
