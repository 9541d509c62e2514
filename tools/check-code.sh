#!/usr/bin/env bash
# Checks the form of the code: every tracked C++ file laid out as .clang-format says, the
# analyser's checks (.clang-tidy, every warning an error) clean over the product's and the
# tools' files, and no include path from them into tests/. Needs the linux preset configured
# (its compile_commands.json). Prints each finding; exits 1 when there is one.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

status=0
database=build/linux/compile_commands.json
if [ ! -f "$database" ]; then
  echo "check-code: $database is missing: configure the linux preset first" >&2
  exit 1
fi

echo "== format (clang-format)"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror || status=1

echo "== layers"
# The product and its tools may not build on test code: no include path or relative include
# into tests/.
layers='(SOURCE_DIR\}|\.\.)/tests/'
if git grep -n -I -E "$layers" -- vst effect dsp editor gui lv2 resources tools ':!tools/check-code.sh'; then
  echo "code outside tests/ uses tests/" >&2
  status=1
fi

echo "== analyser (clang-tidy)"
# The product's and the tools' sources in the native build (the platform code of Windows is not
# compiled there); findings in headers come through the files that include them. The tests are
# left out: GoogleTest's macros drown the analyser (and take most of its time), and their
# idioms (`using ::testing::_`) are what some checks forbid.
here="$(pwd)"
mapfile -t units < <(grep -o '"file": "[^"]*"' "$database" | sed 's/^"file": "//; s/"$//' |
  grep -E "^$here/(vst|effect|dsp|editor|gui|lv2|tools)/" | sort -u)
report="$(mktemp)"
trap 'rm -f "$report"' EXIT
started=$(date +%s)
if ! printf '%s\n' "${units[@]}" |
  xargs -P "${FERROWIN_CHECK_JOBS:-2}" -n 4 clang-tidy -p build/linux --quiet \
    >"$report" 2>&1; then
  status=1
fi
# Everything but clang-tidy's counts of the warnings it hid.
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' "$report" || true
echo "analysed ${#units[@]} files in $(($(date +%s) - started)) s"
exit $status
