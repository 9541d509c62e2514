#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine with the project's prefix. The test
# script starts the display and the Wine server before ctest; see tools/test-all.sh.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../tools/wine-env.sh
source "$here/../tools/wine-env.sh"
exec wine "$@"
