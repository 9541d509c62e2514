#!/usr/bin/env bash
# Runs `ferrowin-host validate` on each plug-in given and prints one table row per plug-in: the
# failed and doubtful checks, the exit status and the run time; the whole output of each run is
# kept beside the table for reading.
#   tools/validate-table.sh HOST OUTPUT-FOLDER PLUGIN... [-- VALIDATE-OPTIONS...]
set -u
if [ $# -lt 3 ]; then
  echo "usage: $0 HOST OUTPUT-FOLDER PLUGIN... [-- VALIDATE-OPTIONS...]" >&2
  exit 2
fi
host=$1
folder=$2
shift 2
plugins=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do plugins+=("$1"); shift; done
[ $# -gt 0 ] && shift
mkdir -p "$folder"
printf '%-34s %5s %5s %5s %8s\n' plug-in FAIL WARN exit seconds
for plugin in "${plugins[@]}"; do
  name=$(basename "$plugin" .so)
  log="$folder/$name.txt"
  start=$(date +%s%N)
  "$host" validate "$plugin" "$@" >"$log" 2>&1 </dev/null
  status=$?
  end=$(date +%s%N)
  fails=$(grep -c '^FAIL' "$log")
  warns=$(grep -c '^WARN' "$log")
  tenths=$(((end - start) / 100000000))
  printf '%-34s %5s %5s %5s %6d.%d\n' "$name" "$fails" "$warns" "$status" $((tenths / 10)) \
    $((tenths % 10))
done
