#!/usr/bin/env bash
# Ending mowa from outside: a first SIGTERM or SIGINT closes the program as
# the window's close request does (the farewell box); a second one, or one
# while a box is open, ends it at once, with save.dat as the scenario saved
# it. Runs on SDL's dummy video and audio drivers: no display is needed.
#
# usage: run.sh MOWA
set -uo pipefail
mowa=$(realpath "$1")
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0

work=$(mktemp -d)
pid=""
trap '[[ -n "$pid" ]] && kill -9 "$pid" 2> /dev/null; rm -rf "$work"' EXIT
fail() {
  echo "signals: $*"
  [[ -f "$work/err" ]] && { echo "--- mowa's standard error:"; cat "$work/err"; }
  exit 1
}
# until CONDITION holds, for at most TENTHS of a second (20 s)
await() {  # CONDITION WHAT [TENTHS]
  for _ in $(seq "${3:-200}"); do eval "$1" && return 0; sleep 0.1; done
  fail "waited in vain for: $2"
}

# start SCENARIO: mowa plays it in a fresh folder; it saves @00 = 7 first,
# so that save.dat tells when the scenario runs.
start() {
  rm -rf "$work/run" "$work/err"
  mkdir -p "$work/run/data"
  printf '@00=7\nsave\n%s' "$1" > "$work/run/data/mowa.snr"
  (cd "$work/run" && exec "$mowa" > /dev/null 2> "$work/err") &
  pid=$!
  await '[[ -s "$work/run/data/save.dat" ]]' "the scenario to save"
}

# finish EXPECTED_STATUS: mowa ends within 5 s with that status, save.dat
# holding @00 = 7 and the rest 0.
finish() {
  local status=0
  await '! kill -0 "$pid" 2> /dev/null' "mowa to end" 50
  wait "$pid" || status=$?
  pid=""
  [[ $status -eq $1 ]] || fail "exit status $status, not $1"
  cmp -s "$work/run/data/save.dat" <(printf '\0\0\0\7'; head -c 396 /dev/zero) || fail "save.dat is not the one saved"
}

farewell='ばいばいもわもわ～！！'

# A box is open: one signal ends the program, no farewell.
start $'check"@00"\nend\n'
await 'grep -q "check=7" "$work/err"' "the check box"
kill -INT "$pid"
finish 130
grep -q "$farewell" "$work/err" && fail "a farewell box after an interrupt in a box"

# Polling for a click: the first signal brings the farewell box as the close
# request does, and a second one ends the program while it is open.
start $'[loop]\nget_mouse_state"@01"\ngoto"loop"\n'
kill -TERM "$pid"
await 'grep -q "$farewell" "$work/err"' "the farewell box"
kill -0 "$pid" 2> /dev/null || fail "mowa ended without its farewell box being closed"
kill -TERM "$pid"
finish 143

# Inside a long wait the close request waits for the statement, as every
# request does; a second signal ends the program at once.
start $'wait"60000"\nend\n'
kill -TERM "$pid"
sleep 0.5
kill -0 "$pid" 2> /dev/null || fail "one signal ended a wait at once"
kill -TERM "$pid"
finish 143
grep -q "$farewell" "$work/err" && fail "a farewell box after a second signal"
echo "signals: all cases passed"
