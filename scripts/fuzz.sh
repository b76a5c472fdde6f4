#!/usr/bin/env bash
# Runs every libFuzzer target for the given number of seconds, one after the
# other, starting from its seed corpus in fuzz/corpus/<target>/. New inputs go
# to a scratch corpus in the build folder so the checked-in seeds stay small.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
only=${FUZZ_TARGET:-}
status=0
for target in "$build"/fuzz/*_fuzz; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  [ -z "$only" ] || [ "$only" = "$name" ] || continue
  seeds="fuzz/corpus/$name"
  work="$build/fuzz/corpus-$name"
  mkdir -p "$work" "$seeds"
  echo "== $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 "$work" "$seeds" 2>&1 | tail -n 25; then
    status=1
  fi
done
exit $status
