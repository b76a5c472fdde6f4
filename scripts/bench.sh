#!/usr/bin/env bash
# Runs every benchmark program of the build. The two frame-rate programs need
# an X server and are run by scripts/bench_frame_rate.sh (make bench-frames).
set -euo pipefail
build=${1:-build}
for bench in "$build"/bench/*_bench; do
  [ -x "$bench" ] || continue
  case "$(basename "$bench")" in *_frames_bench) continue ;; esac
  echo "== $(basename "$bench")"
  "$bench"
done
