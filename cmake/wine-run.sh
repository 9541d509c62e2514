#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine with the project's prefix. The test
# script starts the display and the Wine server before ctest; see tools/test-all.sh.
#
# When the run fails, one more line tells whether Wine itself failed (the program file is
# missing, Wine's loader, server or error channel spoke, or the program never ran) or the
# program failed, with the exit status, the time taken and the state of the prefix's server.
#
# A run that ends with status 1 before the program wrote a single byte never reached the
# program: every program run here writes something first (a test program its "Running main()"
# line, the host its answer or its error). On loaded machines Wine fails that way now and then
# (status 1 within about 10 ms, nothing on either stream); such a run is reported and started
# again, at most twice.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../tools/wine-env.sh
source "$here/../tools/wine-env.sh"

# Standard output passes through as it comes (what a test that hangs wrote stays visible) and
# is copied to a file; standard error goes to a file, shown once Wine ends. The helper
# processes Wine starts may hold a pipe open, so nothing waits for one for long.
wine_out="$(mktemp)"
wine_err="$(mktemp)"
trap 'rm -f "$wine_out" "$wine_err"' EXIT

for attempt in 1 2 3; do
  started=$(date +%s%N)
  wine "$@" > >(tee "$wine_out") 2>"$wine_err"
  status=$?
  elapsed_ms=$((($(date +%s%N) - started) / 1000000))
  # The copy is complete once tee has seen the end; two seconds at most.
  copier=$!
  for _ in $(seq 20); do kill -0 "$copier" 2>/dev/null || break; sleep 0.1; done
  cat "$wine_err" >&2
  [ "$status" -ne 0 ] || exit 0

  if wineserver -k0 2>/dev/null; then server="running"; else server="not running"; fi
  own=$(grep -E '^(wine|wineserver|err):|^[0-9a-f]{4}:err:' "$wine_err" | head -5)
  never_ran=""
  [ "$status" -ne 1 ] || [ -s "$wine_out" ] || [ -s "$wine_err" ] || never_ran=1
  if [[ "$1" == */* && ! -f "$1" ]]; then
    verdict="Wine failed to run the program: there is no $1"
    never_ran=""
  elif [ -n "$never_ran" ]; then
    verdict="Wine failed to start the program (it wrote nothing)"
  elif [ -n "$own" ] || [ "$status" -ge 126 ]; then
    verdict="Wine failed to run the program"
  else
    verdict="the program failed"
  fi
  echo "wine-run: $verdict: wine $1 exited with status $status after ${elapsed_ms} ms" \
    "(prefix $WINEPREFIX, server $server, DISPLAY ${DISPLAY:-unset})" >&2
  [ -z "$own" ] || printf 'wine-run: Wine said: %s\n' "$own" >&2
  if [ -z "$never_ran" ] || [ "$attempt" -eq 3 ]; then exit "$status"; fi
  echo "wine-run: starting it again (attempt $((attempt + 1)) of 3)" >&2
done
