#!/usr/bin/env bash
# Runs one group of the VS Code extension's tests against a copy of the
# extension staged in WORK (its npm packages installed there once, by
# `npm ci` from the lock file, and kept for the next run).
# usage: run.sh SOURCE_DIR WORK extension [MOWA_LINT]|package
set -euo pipefail
source_dir=$1 work=$2 group=$3
command -v node > /dev/null && command -v npm > /dev/null \
  || { echo "vscode: node and npm are not installed; skipped (scripts/setup)"; exit 77; }
tests=$source_dir/tests/vscode
mkdir -p "$work"
stage() {
  # One staging at a time: the groups may run in parallel.
  flock "$work/.lock" "$source_dir/editors/vscode/tools/package.sh" \
    --stage "$work/extension" "$@" "$work/dist"
}
case $group in
  extension)
    stage --modules-only
    MOWA_VSCODE_MODULES=$work/extension MOWA_LINT=${4:-} \
      node --test "$tests/extension.test.js" ;;
  package)
    vsix=$(stage)
    /usr/bin/python3 "$tests/check_vsix.py" "$vsix" ;;
  *) echo "run.sh: unknown group $group" >&2; exit 2 ;;
esac
