#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine with the project's prefix. The test
# script starts the display and the Wine server before ctest; see tools/test-all.sh.
#
# When the run fails, one more line tells whether Wine itself failed (the program file is
# missing, or Wine's loader, server or error channel spoke) or the program failed, with the exit
# status, the time taken and the state of the prefix's server, so that a failure without output
# of the program's own still says where it came from.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../tools/wine-env.sh
source "$here/../tools/wine-env.sh"

# Standard error goes to a file first, shown once Wine ends: a pipe could be held open by the
# helper processes Wine starts, and nothing may wait for those.
wine_err="$(mktemp)"
trap 'rm -f "$wine_err"' EXIT
started=$(date +%s%N)
wine "$@" 2>"$wine_err"
status=$?
cat "$wine_err" >&2
if [ "$status" -ne 0 ]; then
  elapsed_ms=$((($(date +%s%N) - started) / 1000000))
  if wineserver -k0 2>/dev/null; then server="running"; else server="not running"; fi
  own=$(grep -E '^(wine|wineserver|err):|^[0-9a-f]{4}:err:' "$wine_err" | head -5)
  if [[ "$1" == */* && ! -f "$1" ]]; then
    verdict="Wine failed to run the program: there is no $1"
  elif [ -n "$own" ] || [ "$status" -ge 126 ]; then
    verdict="Wine failed to run the program"
  else
    verdict="the program failed"
  fi
  echo "wine-run: $verdict: wine $1 exited with status $status after ${elapsed_ms} ms" \
    "(prefix $WINEPREFIX, server $server, DISPLAY ${DISPLAY:-unset})" >&2
  [ -z "$own" ] || printf 'wine-run: Wine said: %s\n' "$own" >&2
fi
exit "$status"
