#!/usr/bin/env bash
# jalv, the LV2 hosts' reference host, loads the bundle on a JACK server of its own with the
# dummy back end (no sound card), lists the plug-in's controls, and its audio and MIDI ports
# appear on the server.
#   jalv-lists-ports.sh LV2_PATH PLUGIN_URI [SANITIZER_RUNTIME]
set -euo pipefail
lv2_path="$1"
uri="$2"
runtime="${3:-}"

scratch="$(mktemp -d)"
export JACK_DEFAULT_SERVER="ferrowin-lv2-test-$$"
export JACK_NO_AUDIO_RESERVATION=1
jackd_pid=""
jalv_pid=""
cleanup() {
  exec 3>&- 2>/dev/null || true
  [ -n "$jalv_pid" ] && kill "$jalv_pid" 2>/dev/null && wait "$jalv_pid" 2>/dev/null
  [ -n "$jackd_pid" ] && kill "$jackd_pid" 2>/dev/null && wait "$jackd_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

# Polls `condition` every 0.1 s for up to 20 s.
wait_for() {
  for _ in $(seq 200); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}

jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 256 >"$scratch/jackd.log" 2>&1 &
jackd_pid=$!
server_up() { jack_lsp >/dev/null 2>&1; }
if ! wait_for server_up; then
  echo "jackd did not start:"; cat "$scratch/jackd.log"; exit 1
fi

# jalv reads commands from its standard input: a pipe held open keeps it running.
mkfifo "$scratch/commands"
preload=()
[ -n "$runtime" ] && preload=("LD_PRELOAD=$runtime" "ASAN_OPTIONS=detect_leaks=0")
env "${preload[@]}" LV2_PATH="$lv2_path" jalv -n Ferrowin -x -c cutoff=0.3 "$uri" \
  <"$scratch/commands" >"$scratch/jalv.log" 2>&1 &
jalv_pid=$!
exec 3>"$scratch/commands"

ports_up() { [ "$(jack_lsp Ferrowin: 2>/dev/null | wc -l)" -eq 5 ]; }
if ! wait_for ports_up; then
  echo "the plug-in's ports did not appear:"; jack_lsp; cat "$scratch/jalv.log"; exit 1
fi
jack_lsp -t Ferrowin: | tee "$scratch/ports"
status=0
for port in in_left in_right out_left out_right midi_in; do
  grep -qx "Ferrowin:$port" "$scratch/ports" || { echo "missing port $port"; status=1; }
done
grep -A1 -x "Ferrowin:midi_in" "$scratch/ports" | grep -q midi || { echo "midi_in is not MIDI"; status=1; }

# At the end of its input jalv quits, and its listing of the controls reaches the log.
exec 3>&-
jalv_gone() { ! kill -0 "$jalv_pid" 2>/dev/null; }
if ! wait_for jalv_gone; then
  echo "jalv did not quit at the end of its input"; exit 1
fi
jalv_pid=""
controls="$(grep -E '^[a-z0-9_]+ = [0-9.]+$' "$scratch/jalv.log" | sort -u)"
echo "$controls"
[ "$(echo "$controls" | wc -l)" -eq 18 ] || { echo "jalv did not list 18 controls"; status=1; }
grep -qx "cutoff = 0.300000" "$scratch/jalv.log" || { echo "cutoff not set"; status=1; }
exit $status
