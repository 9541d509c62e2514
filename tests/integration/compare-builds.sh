#!/usr/bin/env bash
# Renders the same inputs through the Linux shared object natively and through the Windows DLL
# under Wine, with the same settings and notes, and fails unless the outputs agree within
# 1e-5 (-100 dBFS). The two C runtimes' math routines may differ in a coefficient's last bit;
# nothing else may differ. Two inputs: raw float stereo, and a 24-bit mono WAV file that each
# host reads and writes itself (libsndfile natively, the system's multimedia functions on
# Windows). Exits 77 (skipped) when there is no native build to compare with.
# Usage: compare-builds.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR
set -euo pipefail
native="$1"
windows="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../../tools/wine-env.sh
source "$here/../../tools/wine-env.sh"

if [ ! -x "$native/ferrowin-host" ] || [ ! -f "$native/Ferrowin.so" ]; then
  echo "skipped: no native build in $native to compare with: build the linux preset first" >&2
  exit 77
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Two tones under a slow tremolo, so that both followers move; 3 s of raw float stereo.
sox -V1 -n -r 44100 -c 2 -t f32 "$work/in.f32" synth 3 sine 220 sine 331 tremolo 2 80 gain -3
# A sweep in 24-bit mono at another rate.
sox -V1 -n -r 48000 -c 1 -b 24 "$work/in.wav" synth 2 sine 100:2000 tremolo 3 60 gain -4
options=(--block 256
  --set OSC.Amt=0.8 --set OSC.Note=0.45 --set OSC.Wave=0.6 --set Noise.Amt=0.6
  --set Noise.Color=0.4 --set CutOff=0.55 --set Resonance=0.7 --set FilterType=0.5
  --set EF1.Smooth=0.05 --set EF1.Osc.AM=0.9 --set EF1.Noise.AM=0.3 --set EF2.Smooth=0.2
  --set EF2.Cutoff=0.8 --set EF2.OSC.FM=0.7 --set Dry2Filter=0.6 --set Dry=0.7
  --set Fil.KeyTrack=0.5 --set Osc.KeyTrack=0.5 --note 0.5:1.5:60:100)

# render INPUT OUTPUT_SUFFIX [options]: both builds, outputs native.SUFFIX and windows.SUFFIX.
render() {
  local input="$1" suffix="$2"
  shift 2
  "$native/ferrowin-host" render "$native/Ferrowin.so" "$work/$input" "$work/native.$suffix" \
    "${options[@]}" "$@" --print-peak
  (cd "$windows" && wine ./ferrowin-host.exe render Ferrowin.dll "$work/$input" \
    "$work/windows.$suffix" "${options[@]}" "$@" --print-peak)
}

# samples FILE: the 32-bit float samples of a raw file or of a WAV file's data chunk, one a
# line. Read here, not by sox, which clips samples beyond full scale as it reads them.
samples() {
  local skip=0
  if [ "$(head -c 4 "$1")" = "RIFF" ]; then
    skip=$(($(grep -obUa -m1 data "$1" | head -1 | cut -d: -f1) + 8))
  fi
  od -An -v -t f4 -w4 -j "$skip" "$1"
}

# compare NAME: the largest difference of native.NAME and windows.NAME, and their lengths.
failed=0
compare() {
  local verdict
  verdict="$(paste <(samples "$work/native.$1") <(samples "$work/windows.$1") | awk '
    NF != 2 { lengths = 1 }
    { d = $1 - $2; if (d < 0) d = -d; if (d > worst) worst = d }
    END { printf "%d samples, largest difference %g%s\n", NR, worst, lengths ? ", lengths differ" : "";
          exit !(worst <= 1e-5 && !lengths && NR > 0) }')" || failed=1
  echo "$1: $verdict"
}

render in.f32 f32 --raw --rate 44100 --note 2.0:2.8:67:90
compare f32
render in.wav wav
compare wav
[ "$failed" = 0 ] || echo "the builds disagree" >&2
exit $failed
