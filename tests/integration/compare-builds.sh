#!/usr/bin/env bash
# Renders the same inputs through the Linux shared object natively and through the Windows DLL
# under Wine, with the same settings and notes, and fails unless the outputs are identical bit
# for bit; so must be the filter's cutoff map, printed by both builds for 10,001 settings at
# three rates. Every set-up value goes through the project's correctly rounded math, so the two
# C runtimes' math routines cannot tell the builds apart. Two inputs: raw float stereo, and a
# 24-bit mono WAV file that each host reads and writes itself (libsndfile natively, the
# system's multimedia file functions on Windows). Exits 77 (skipped) without a native build.
# Usage: compare-builds.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR
set -euo pipefail
native="$1"
windows="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../../tools/wine-env.sh
source "$here/../../tools/wine-env.sh"

if [ ! -x "$native/ferrowin-host" ] || [ ! -f "$native/Ferrowin.so" ] ||
  [ ! -x "$native/cutoff-map" ]; then
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

# render INPUT SUFFIX [options]: both builds, into native.SUFFIX and windows.SUFFIX.
render() {
  local input="$1" suffix="$2"
  shift 2
  "$native/ferrowin-host" render "$native/Ferrowin.so" "$work/$input" "$work/native.$suffix" \
    "${options[@]}" "$@" --print-peak
  (cd "$windows" && wine ./ferrowin-host.exe render Ferrowin.dll "$work/$input" \
    "$work/windows.$suffix" "${options[@]}" "$@" --print-peak)
}
render in.f32 f32 --raw --rate 44100 --note 2.0:2.8:67:90
render in.wav wav

"$native/cutoff-map" >"$work/native-map.txt"
(cd "$windows" && wine ./cutoff-map.exe) | tr -d '\r' >"$work/windows-map.txt"
if ! diff "$work/native-map.txt" "$work/windows-map.txt" >"$work/map-differences.txt"; then
  echo "the builds map $(grep -c '^<' "$work/map-differences.txt") cutoff settings differently:" >&2
  head -20 "$work/map-differences.txt" >&2
  exit 1
fi
echo "the cutoff maps agree in every bit"

if ! cmp "$work/native.f32" "$work/windows.f32"; then
  raw=(-t f32 -r 44100 -c 2)
  peak_db="$(sox -V1 -m -v 1 "${raw[@]}" "$work/native.f32" -v -1 "${raw[@]}" "$work/windows.f32" \
    -n stats 2>&1 | awk '/^Pk lev dB/ {print $4}')"
  echo "the builds render differently; largest difference: $peak_db dBFS" >&2
  exit 1
fi
echo "the renders agree in every bit"

# The samples of a WAV file: its data chunk, whatever other chunks each writer adds.
wav_data() {
  local at size
  at=$(grep -obUa -m1 data "$1" | head -1 | cut -d: -f1)
  size=$(od -An -t u4 -j $((at + 4)) -N 4 "$1" | tr -d ' ')
  tail -c +$((at + 9)) "$1" | head -c "$size"
}
wav_data "$work/native.wav" >"$work/native.wav.data"
wav_data "$work/windows.wav" >"$work/windows.wav.data"
if [ ! -s "$work/native.wav.data" ] || ! cmp "$work/native.wav.data" "$work/windows.wav.data"; then
  echo "the builds render the WAV file differently" >&2
  exit 1
fi
echo "the WAV renders agree in every bit"
