#!/usr/bin/env bash
# What `cmake --install` puts on a desktop: the entry and the metainfo pass
# their validators and name the installed program and icon, and the icon is
# installed in every hicolor size as the same 32x32 picture.
# usage: desktop_files.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "desktop_files: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" > /dev/null
entry=$prefix/share/applications/org.mowa.Mowa.desktop
meta=$prefix/share/metainfo/org.mowa.Mowa.metainfo.xml
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$meta" > "$prefix/appstream.log" 2>&1 \
  || { cat "$prefix/appstream.log"; fail "the metainfo does not validate"; }
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[[ -x "$prefix/bin/$exec_program" ]] || fail "Exec names $exec_program, which is not installed"
icon=$(sed -n 's/^Icon=//p' "$entry")
grep -q "<launchable type=\"desktop-id\">$(basename "$entry")</launchable>" "$meta" \
  || fail "the metainfo does not launch the installed entry"

reference=$prefix/share/icons/hicolor/32x32/apps/$icon.png
# Every size installed, and at least these (32x32 first: the others are
# compared with it).
for dir in "$prefix"/share/icons/hicolor/{32x32,16x16,48x48,256x256,*x*}; do
  size=${dir##*/}; size=${size%%x*}
  png=$dir/apps/$icon.png
  [[ -f "$png" ]] || fail "no ${dir##*/} icon $icon.png"
  [[ $(identify -format '%wx%h' "$png") == "${size}x${size}" ]] || fail "$png is not ${size}x${size}"
  # A whole multiple of 32 sampled back to 32x32 is the picture itself.
  if (( size % 32 == 0 )); then
    convert "$png" -sample 32x32 "$prefix/sampled.png"
    differing=$(compare -metric AE "$prefix/sampled.png" "$reference" null: 2>&1 || true)
    [[ "$differing" == "0" ]] || fail "the ${size}x${size} icon is not the 32x32 picture ($differing pixels differ)"
  fi
done
echo "desktop_files: entry, metainfo and icons as installed"
