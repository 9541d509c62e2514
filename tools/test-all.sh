#!/usr/bin/env bash
# Sets everything up, builds both builds and runs every test: natively (with sanitizers) and
# the Windows build under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash tools/setup.sh
# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
# shellcheck source=tools/display.sh
source tools/display.sh

status=0
for preset in linux win64; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

start_display
trap stop_display EXIT

for preset in linux win64; do
  echo "== $preset: tests"
  ctest --preset "$preset" || status=1
done
echo "== fuzz: each fuzzer for a bounded time"
bash tools/fuzz.sh 12 || status=1
exit $status
