#!/usr/bin/env bash
# Packages the extension as OUT_DIR/mowa-vscode-VERSION.vsix with @vscode/vsce,
# installed by `npm ci` from package-lock.json. With --stage DIR the work is
# done in a copy of the extension in DIR, leaving the source tree alone;
# --modules-only then stops once the packages are installed there.
# usage: package.sh [--stage DIR [--modules-only]] OUT_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
guide=$(cd "$here/../.." && pwd)/docs/scenario.md
stage="" modules_only=""
if [[ "${1:-}" == "--stage" ]]; then stage=$2; shift 2; fi
if [[ "${1:-}" == "--modules-only" ]]; then modules_only=1; shift; fi
out=${1:?usage: package.sh [--stage DIR [--modules-only]] OUT_DIR}

if ! command -v npm > /dev/null || ! command -v node > /dev/null; then
  echo "package.sh: the extension needs node and npm; run scripts/setup" >&2
  exit 3
fi

work=$here
if [[ -n "$stage" ]]; then
  mkdir -p "$stage"
  # node_modules stays from the last run; everything else is copied afresh.
  find "$stage" -mindepth 1 -maxdepth 1 ! -name node_modules -exec rm -rf {} +
  tar -C "$here" --exclude=node_modules --exclude=hover.json \
    --exclude='*.vsix' -cf - . | tar -C "$stage" -xf -
  work=$(cd "$stage" && pwd)
fi

# npm ci only when the lock file changed since the last install.
marker=$work/node_modules/.mowa-installed-lock
if ! cmp -s "$work/package-lock.json" "$marker"; then
  (cd "$work" && npm ci --no-audit --no-fund --prefer-offline > /dev/null)
  cp "$work/package-lock.json" "$marker"
fi
[[ -z "$modules_only" ]] || exit 0

version=$(node -p "require('$work/package.json').version")
mkdir -p "$out"
out=$(cd "$out" && pwd)
cd "$work"
MOWA_GUIDE=$guide npx --no-install vsce package --no-dependencies \
  --allow-missing-repository --skip-license \
  --out "$out/mowa-vscode-$version.vsix" > "$work/vsce.log" 2>&1 \
  || { cat "$work/vsce.log" >&2; exit 1; }
echo "$out/mowa-vscode-$version.vsix"
