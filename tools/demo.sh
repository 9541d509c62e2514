#!/usr/bin/env bash
# The main job: sets everything up, builds both plug-ins (the Windows DLL and the Linux shared
# object), shows what each tells a host, makes two short inputs (spoken words and a drum loop)
# and renders them through the shared object natively and through the DLL under Wine into out/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash tools/setup.sh
# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
# shellcheck source=tools/display.sh
source tools/display.sh

cmake --preset linux-release >/dev/null
cmake --build --preset linux-release
cmake --preset win64 >/dev/null
cmake --build --preset win64

work="$(mktemp -d)"
start_display
trap 'stop_display; rm -rf "$work"' EXIT

host=build/linux-release/ferrowin-host
plugin=build/linux-release/Ferrowin.so

echo "== Ferrowin.so, native"
"$host" info "$plugin"
echo
echo "== Ferrowin.dll, under Wine"
(cd build/win64 && wine ./ferrowin-host.exe info Ferrowin.dll)

# --- Inputs: 44.1 kHz stereo 16-bit WAV files ------------------------------------------------
mkdir -p out
espeak-ng -v en-us -s 150 -w "$work/words.wav" \
  "Ferrowin listens to your voice and plays a small synthesizer against it."
sox -V1 "$work/words.wav" -r 44100 -c 2 -b 16 out/speech.wav pad 0.2 0.5 norm -3

# One bar at 120 beats per minute: kick on 1 and 3, snare on 2 and 4, hi-hat on every eighth.
sox -V1 -n -r 44100 -c 1 -b 16 "$work/kick.wav" synth 0.3 sine 160:40 fade q 0.002 0.3 0.25
sox -V1 -n -r 44100 -c 1 -b 16 "$work/snare.wav" synth 0.2 whitenoise synth 0.2 sine mix 190 \
  fade q 0.001 0.2 0.18 highpass 200
sox -V1 -n -r 44100 -c 1 -b 16 "$work/hat.wav" synth 0.06 whitenoise highpass 7000 \
  fade q 0.001 0.06 0.05
hits=()
for at in 0 1; do hits+=(-v 1 "|sox $work/kick.wav -p pad $at"); done
for at in 0.5 1.5; do hits+=(-v 0.6 "|sox $work/snare.wav -p pad $at"); done
for at in 0 0.25 0.5 0.75 1 1.25 1.5 1.75; do hits+=(-v 0.35 "|sox $work/hat.wav -p pad $at"); done
sox -V1 -m "${hits[@]}" -c 1 "$work/bar.wav" pad 0 1 trim 0 2
sox -V1 "$work/bar.wav" -c 2 -b 16 out/drums.wav repeat 1 norm -3

# --- Renders --------------------------------------------------------------------------------
voice=(--set OSC.Amt=0.8 --set OSC.Note=0.38 --set OSC.Wave=0.35 --set CutOff=0.55
  --set Resonance=0.5 --set EF1.Osc.AM=0.9 --set EF2.Cutoff=0.75 --set Dry2Filter=0.6
  --set Dry=0.5 --set Osc.KeyTrack=1)
voice_note=(--note 0.5:3.5:55:100)
bandpass=(--set FilterType=0.8 --set CutOff=0.45 --set Resonance=0.6 --set Noise.Amt=0.4
  --set Noise.Color=0.5 --set EF1.Noise.AM=0.6 --set EF2.Smooth=0.2 --set EF2.Cutoff=0.85
  --set Dry2Filter=0.3 --set Dry=0.45)
lowpass=(--set FilterType=0 --set CutOff=0.25 --set Resonance=0.6 --set Fil.KeyTrack=1
  --set Dry2Filter=1 --set Dry=0.3)
lowpass_notes=(--note 1.0:3.0:60:110 --note 3.0:3.9:67:100)

"$host" render "$plugin" out/speech.wav out/speech-synth.wav "${voice[@]}" "${voice_note[@]}"
"$host" render "$plugin" out/drums.wav out/drums-bandpass.wav "${bandpass[@]}"

# The Windows build exchanges raw 32-bit float stereo; sox converts both ways.
render_dll() {  # input.wav output.wav render options...
  local input="$1" output="$2"
  shift 2
  sox -V1 "$input" -t f32 "$work/in.f32"
  (cd build/win64 && wine ./ferrowin-host.exe render Ferrowin.dll "$work/in.f32" \
    "$work/out.f32" --raw --rate 44100 "$@")
  sox -V1 -t f32 -r 44100 -c 2 "$work/out.f32" "$output"
}
render_dll out/speech.wav out/speech-synth-dll.wav "${voice[@]}" "${voice_note[@]}"
render_dll out/drums.wav out/drums-lowpass-notes-dll.wav "${lowpass[@]}" "${lowpass_notes[@]}"

# --- The editor: opened by the command-line host under Wine and natively on the X display, ---
# --- each photographed from the X server once it has painted --------------------------------
# shellcheck source=tools/editor-picture.sh
source tools/editor-picture.sh
editor_step() {  # picture name command...
  local picture="$1" name="$2" status=0
  shift 2
  editor_picture "$picture" "$work" "$@" || status=$?
  if [ $status = 2 ]; then
    echo "editor screenshot skipped: $name offers no editor"
  elif [ $status = 0 ]; then
    echo "editor screenshot: $picture; what the editor reported:"
    tr -d '\r' <"$work/edit.out"
  else
    return 1
  fi
}
editor_step out/editor.png Ferrowin.dll \
  bash -c 'cd build/win64 && exec wine ./ferrowin-host.exe edit Ferrowin.dll --seconds 20'
editor_step out/editor-linux.png Ferrowin.so "$host" edit "$plugin" --seconds 5

difference="$(sox -V1 -m -v 1 out/speech-synth.wav -v -1 out/speech-synth-dll.wav -n stat 2>&1 |
  awk '/Maximum amplitude/ {print $3}')"

result() { printf '%-32s %s\n' "$1" "$2"; }
echo
echo "== Results in out/"
result out/speech.wav "input: spoken words (espeak-ng), 44.1 kHz stereo 16-bit"
result out/drums.wav "input: two bars of kick, snare and hi-hat at 120 bpm"
result out/speech-synth.wav "speech, Ferrowin.so: FM voice following the speaker's level, \
resonant low-pass opened by the voice, note G3 from 0.5 to 3.5 s"
result out/drums-bandpass.wav "drums, Ferrowin.so: resonant band-pass and noise following \
the hits, 45 % dry"
result out/speech-synth-dll.wav "the speech render again, through Ferrowin.dll under Wine"
result out/drums-lowpass-notes-dll.wav "drums, Ferrowin.dll under Wine: low-pass tracking the \
keys of C4 (1-3 s) and G4 (3-3.9 s)"
[ -f out/editor.png ] && result out/editor.png "the editor of Ferrowin.dll, opened by ferrowin-host edit under Wine"
[ -f out/editor-linux.png ] && result out/editor-linux.png "the editor of Ferrowin.so, opened by ferrowin-host edit natively"
echo "largest difference between the native and the Wine speech renders: $difference"
