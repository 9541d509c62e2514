#!/usr/bin/env bash
# Builds the libFuzzer fuzzers (preset `fuzz`) and runs each for a bounded time, starting from
# its committed corpus in tests/fuzz/corpus. New inputs go to a scratch folder, so the
# repository is left as it is. Prints each fuzzer's run count; fails on the first finding.
#   bash tools/fuzz.sh [SECONDS_PER_FUZZER] [FUZZER...]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds="${1:-12}"
shift || true
fuzzers=("$@")
((${#fuzzers[@]})) || fuzzers=(dispatcher parameter event process wav_reader atom_sequence)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
findings=build/fuzz/findings
mkdir -p "$findings"
total=0
for name in "${fuzzers[@]}"; do
  mkdir -p "$scratch/$name"
  log="$scratch/$name.log"
  if ! "build/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$findings/$name-" "$scratch/$name" "tests/fuzz/corpus/$name" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz: $name found a fault; the input is in $findings (run build/fuzz/fuzz_$name FILE)"
    exit 1
  fi
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
  total=$((total + runs))
  echo "fuzz: $name: $runs runs in ${seconds} s, clean"
done
echo "fuzz: $total runs in all, clean"
