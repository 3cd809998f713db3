#!/usr/bin/env bash
# What mowa answers to its arguments before it opens any window: each row is
# the arguments, the exit status and a line the answer must hold.
# usage: command_line.sh MOWA
set -uo pipefail
mowa=$1
failed=0
check() {  # STATUS PATTERN ARGS...
  local want=$1 pattern=$2 out status
  shift 2
  out=$(cd / && "$mowa" "$@" 2>&1 < /dev/null)
  status=$?
  if [[ $status -ne $want ]] || ! grep -qE -- "$pattern" <<< "$out"; then
    printf 'command_line: mowa %s gave status %s, wanted %s and /%s/:\n%s\n' "$*" $status $want "$pattern" "$out"
    failed=1
  fi
  # A refusal is one line.
  if [[ $want -eq 2 && $(wc -l <<< "$out") -ne 1 ]]; then
    echo "command_line: mowa $* answered with more than one line"
    failed=1
  fi
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
exit $failed
