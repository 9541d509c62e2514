#!/usr/bin/env bash
# The Wine runner's verdicts, with a stand-in `wine` that behaves as asked: a program that
# fails is reported as such and run once; a run that never reached the program (failure
# status, not a byte written) is reported and started again, at most three runs in all.
# Usage: wine-runner-test.sh PATH_OF_wine-run.sh
set -uo pipefail
runner="$1"
fake="$(mktemp -d)"
trap 'rm -rf "$fake"' EXIT
# The plan: a list of outcomes, one per run, taken from the front: "silent" (status 1, nothing
# written), "quiet" (status 3, nothing written), "fails" (writes a line, status 3), "passes"
# (writes a line, status 0).
cat >"$fake/wine" <<'FAKE'
#!/usr/bin/env bash
read -r outcome rest <"$FAKE_WINE_PLAN"
echo "$rest" >"$FAKE_WINE_PLAN"
echo "$outcome" >>"$FAKE_WINE_PLAN.runs"
case "$outcome" in
  silent) exit 1 ;;
  quiet) exit 3 ;;
  fails) echo "Running main()"; exit 3 ;;
  *) echo "Running main()"; exit 0 ;;
esac
FAKE
printf '#!/bin/sh\nexit 1\n' >"$fake/wineserver"
chmod +x "$fake/wine" "$fake/wineserver"

failures=0
# plan | expected status | expected runs | a line the report must hold
while IFS='|' read -r plan status runs expected; do
  export FAKE_WINE_PLAN="$fake/plan"
  echo "$plan" >"$FAKE_WINE_PLAN"
  rm -f "$FAKE_WINE_PLAN.runs"
  report="$(PATH="$fake:$PATH" bash "$runner" program.exe 2>&1)"
  got=$?
  made=$(wc -l <"$FAKE_WINE_PLAN.runs")
  if [ "$got" != "$status" ] || [ "$made" != "$runs" ] || ! grep -qF "$expected" <<<"$report"; then
    echo "plan '$plan': status $got (want $status), runs $made (want $runs), report:" >&2
    echo "$report" >&2
    failures=$((failures + 1))
  fi
done <<'TABLE'
passes|0|1|Running main()
fails|3|1|wine-run: the program failed: wine program.exe exited with status 3
silent passes|0|2|wine-run: Wine failed to start the program (it wrote nothing)
silent silent passes|0|3|wine-run: starting it again (attempt 3 of 3)
silent silent silent passes|1|3|wine-run: Wine failed to start the program (it wrote nothing)
silent fails|3|2|wine-run: the program failed
quiet passes|3|1|wine-run: the program failed: wine program.exe exited with status 3
TABLE
[ "$failures" = 0 ] && echo "all verdicts as expected"
exit $((failures > 0))
