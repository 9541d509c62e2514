#!/usr/bin/env bash
# Opens the editor of the DLL under Wine and of the native shared object on the X display, both
# with the default program, photographs both and compares them outside and inside the value
# displays (EditorPictureCompare). Exits 77 (skipped) when the native build is missing.
# Usage: compare-editors.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR
set -euo pipefail
native="$1"
windows="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [ ! -x "$native/ferrowin-host" ] || [ ! -f "$native/Ferrowin.so" ] ||
  [ ! -x "$native/editor-picture-compare" ]; then
  echo "skipped: no native build with ferrowin-host, Ferrowin.so and editor-picture-compare in $native"
  exit 77
fi
# shellcheck source=tools/editor-picture.sh
source "$here/../../tools/editor-picture.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
editor_picture "$work/windows.png" "$work" \
  bash -c "cd '$windows' && exec wine ./ferrowin-host.exe edit Ferrowin.dll --seconds 6"
editor_picture "$work/linux.png" "$work" "$native/ferrowin-host" edit "$native/Ferrowin.so" \
  --seconds 3
convert "$work/windows.png" "$work/windows.ppm"
convert "$work/linux.png" "$work/linux.ppm"
"$native/editor-picture-compare" "$work/windows.ppm" "$work/linux.ppm"
