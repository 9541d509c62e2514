#!/usr/bin/env bash
# The Windows host under Wine writes an output that is a symbolic link at the link's target and
# leaves the link a link. The links are made here, on the Linux side of Wine's Z: drive, which
# maps the same file system. Native builds check the same in OutputPathsTest.
# Usage: output-links-test.sh WINE_RUNNER HOST PLUGIN (run in the folder of HOST and PLUGIN)
set -uo pipefail
runner="$1"
host="$2"
plugin="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/elsewhere"
# 100 stereo frames of raw float: 800 bytes in, 800 bytes out.
head -c 800 /dev/zero >"$work/in.f32"
printf 'old' >"$work/elsewhere/old.f32"
printf 'old' >"$work/elsewhere/far.f32"
expected_bytes=800

failures=0
# link | where it points | the file that must get the output
while IFS='|' read -r link points_to target; do
  ln -s "$points_to" "$work/$link"
  report="$(bash "$runner" "$host" render "$plugin" "$work/in.f32" "$work/$link" --raw --rate 8000 2>&1)"
  status=$?
  bytes=$(stat -c %s "$work/$target" 2>/dev/null || echo none)
  if [ "$status" != 0 ] || [ ! -L "$work/$link" ] || [ "$bytes" != "$expected_bytes" ] ||
    compgen -G "$work/$target.partial*" >/dev/null; then
    echo "$link -> $points_to: status $status, link kept: $([ -L "$work/$link" ] && echo yes || echo no)," \
      "$target holds $bytes bytes (want $expected_bytes); the host said:" >&2
    echo "$report" >&2
    failures=$((failures + 1))
  fi
done <<TABLE
existing.f32|elsewhere/old.f32|elsewhere/old.f32
chain.f32|existing.f32|elsewhere/old.f32
absolute.f32|$work/elsewhere/far.f32|elsewhere/far.f32
TABLE
[ "$failures" = 0 ] && echo "every link kept, every target written"
exit $((failures > 0))
