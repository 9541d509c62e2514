#!/usr/bin/env bash
# Sets everything up, builds both builds and runs every test: natively (with sanitizers) and
# the Windows build under Wine on a virtual display; then checks the form of the code.
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

# The editor's hand-over between threads, under ThreadSanitizer (one quick test program).
echo "== linux-tsan: configure, build and run the thread test"
cmake --preset linux-tsan >/dev/null
cmake --build --preset linux-tsan --target SDEditorThreadTest
ctest --preset linux-tsan -R SDEditorThread || status=1

# The display serves the tests of both builds: the Windows ones and the native editor's.
start_display
trap stop_display EXIT

for preset in linux win64; do
  echo "== $preset: tests"
  ctest --preset "$preset" || status=1
done

echo "== code form"
bash tools/check-code.sh || status=1

echo "== fuzz: each fuzzer for a bounded time"
bash tools/fuzz.sh 12 || status=1
exit $status
