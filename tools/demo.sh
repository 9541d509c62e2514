#!/usr/bin/env bash
# The main job: sets everything up, builds both plug-ins (the Windows DLL and the Linux shared
# object) and runs each in the command-line host.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash tools/setup.sh
# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
# shellcheck source=tools/display.sh
source tools/display.sh

cmake --preset linux-release >/dev/null
cmake --build --preset linux-release
cmake --preset win64 >/dev/null
cmake --build --preset win64

start_display
trap stop_display EXIT

echo "== Ferrowin.so, native"
build/linux-release/ferrowin-host info build/linux-release/Ferrowin.so
echo
echo "== Ferrowin.dll, under Wine"
(cd build/win64 && wine ./ferrowin-host.exe info Ferrowin.dll)
