#!/usr/bin/env bash
# Frame rate of play against the least frame the engine can draw, on a
# private Xvfb at 640 x 480: the reference (clear, one full-window textured
# quad, present), then the gameplay loop in a busy level with GLSL off and on.
# Prints fps, the ratio to the reference, the CPU time per frame of all the
# program's threads (steadier than fps when other work shares the cores), the
# game's peak resident memory in play and the time from process start to its
# first frame. fps and CPU time are medians over several rounds; memory and
# start-up times come from the last round.
#
#   scripts/bench_frame_rate.sh [BUILD_DIR]
# Environment: FRAMES (default 1000), LEVEL (default 14), ROUNDS (default 3),
# ASSETS (default BUILD_DIR/bin/base), TARGET ratio (default 0.8).
set -euo pipefail

build=${1:-build}
frames=${FRAMES:-1000}
level=${LEVEL:-14}
assets=${ASSETS:-$build/bin/base}
target=${TARGET:-0.8}
rounds=${ROUNDS:-3}
reference=$build/bench/reference_frames_bench
gameplay=$build/bench/gameplay_frames_bench

for program in "$reference" "$gameplay"; do
  [ -x "$program" ] || { echo "missing $program (build the bench targets first)" >&2; exit 1; }
done
[ -d "$assets/textures" ] || { echo "no asset tree at $assets" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 1; }

# The engine writes its log into the asset directory: give it a tree of links
# so the build's own tree stays untouched.
work=$(mktemp -d)
xvfb_pid=
# shellcheck disable=SC2317  # called through the EXIT trap
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
cp -rs "$(cd "$assets" && pwd)" "$work/base"

# Xvfb picks a free display itself and reports it on fd 9.
exec 9>"$work/display"
Xvfb -displayfd 9 -screen 0 640x480x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
exec 9>&-
for _ in $(seq 200); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb gave no display" >&2; exit 1; }
display=$(head -n1 "$work/display")
export DISPLAY=":$display"
export ALSOFT_DRIVERS=null
export SDL_AUDIODRIVER=dummy

# key=value from a program's one summary line.
field() { sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<<"$2"; }

# The median of the numbers given as arguments.
median() {
  printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {
    if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

echo "Frame rate at 640x480 on Xvfb $DISPLAY, $frames frames, level $level, median of $rounds round(s)"
# Each round runs the three programs back to back, so that a load that comes
# and goes on a shared machine hits all three alike.
declare -A fps_of cpu_of line_of
for round in $(seq "$rounds"); do
  line_of[ref]=$("$reference" "$work/base" "$frames")
  line_of[off]=$("$gameplay" "$work/base" 0 "$frames" "$level")
  line_of[on]=$("$gameplay" "$work/base" 1 "$frames" "$level")
  for run in ref off on; do
    fps_of[$run]+=" $(field fps "${line_of[$run]}")"
    cpu_of[$run]+=" $(field cpu_us_per_frame "${line_of[$run]}")"
  done
  if [ "$rounds" -gt 1 ]; then
    echo "  round $round fps: reference ${fps_of[ref]##* }, GLSL off ${fps_of[off]##* }, GLSL on ${fps_of[on]##* }"
  fi
done
# shellcheck disable=SC2086  # the lists are split on purpose
ref_fps=$(median ${fps_of[ref]})

printf '%-22s %9s %7s %13s %13s %15s %17s\n' run fps ratio cpu_us/frame peak_rss_MiB first_frame_ms \
  first_play_frame_ms
# shellcheck disable=SC2086
printf '%-22s %9s %7s %13s %13s %15s %17s\n' "reference quad" "$ref_fps" 1.00 "$(median ${cpu_of[ref]})" \
  "$(awk -v k="$(field peak_rss_kb "${line_of[ref]}")" 'BEGIN{printf "%.1f", k/1024}')" \
  "$(field first_frame_ms "${line_of[ref]}")" -
status=0
for run in off on; do
  line=${line_of[$run]}
  # shellcheck disable=SC2086
  fps=$(median ${fps_of[$run]})
  ratio=$(awk -v a="$fps" -v b="$ref_fps" 'BEGIN{printf "%.2f", (b > 0) ? a / b : 0}')
  name="gameplay GLSL $([ "$(field glsl "$line")" = 1 ] && echo on || echo off)"
  # shellcheck disable=SC2086
  printf '%-22s %9s %7s %13s %13s %15s %17s\n' "$name" "$fps" "$ratio" "$(median ${cpu_of[$run]})" \
    "$(awk -v k="$(field peak_rss_kb "$line")" 'BEGIN{printf "%.1f", k/1024}')" \
    "$(field first_frame_ms "$line")" "$(field first_play_frame_ms "$line")"
  restarts=$(field restarts "$line")
  [ "$restarts" != 0 ] && echo "  ($name: the game was lost and level $level restarted $restarts time(s))"
  awk -v r="$ratio" -v t="$target" 'BEGIN{exit !(r < t)}' && status=1
done
if [ "$status" = 0 ]; then echo "gameplay within $target of the reference"; else echo "gameplay below $target of the reference"; fi
exit $status
