#!/usr/bin/env bash
# Frame rate of play against the least frame the engine can draw, on a
# private Xvfb at 640 x 480: the reference (clear, one full-window textured
# quad, present), then the gameplay loop in a busy level with GLSL off and on.
# Prints fps, the ratio to the reference, the game's peak resident memory in
# play and the time from process start to its first frame.
#
#   scripts/bench_frame_rate.sh [BUILD_DIR]
# Environment: FRAMES (default 1000), LEVEL (default 14), ASSETS (default
# BUILD_DIR/bin/base), TARGET ratio (default 0.8).
set -euo pipefail

build=${1:-build}
frames=${FRAMES:-1000}
level=${LEVEL:-14}
assets=${ASSETS:-$build/bin/base}
target=${TARGET:-0.8}
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
Xvfb -displayfd 9 -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
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

echo "Frame rate at 640x480 on Xvfb $DISPLAY, $frames frames, level $level"
ref_line=$("$reference" "$work/base" "$frames")
off_line=$("$gameplay" "$work/base" 0 "$frames" "$level")
on_line=$("$gameplay" "$work/base" 1 "$frames" "$level")
ref_fps=$(field fps "$ref_line")

printf '%-22s %9s %7s %13s %15s %17s\n' run fps ratio peak_rss_MiB first_frame_ms first_play_frame_ms
printf '%-22s %9s %7s %13s %15s %17s\n' "reference quad" "$ref_fps" 1.00 \
  "$(awk -v k="$(field peak_rss_kb "$ref_line")" 'BEGIN{printf "%.1f", k/1024}')" \
  "$(field first_frame_ms "$ref_line")" -
status=0
for line in "$off_line" "$on_line"; do
  glsl=$(field glsl "$line")
  fps=$(field fps "$line")
  ratio=$(awk -v a="$fps" -v b="$ref_fps" 'BEGIN{printf "%.2f", (b > 0) ? a / b : 0}')
  name="gameplay GLSL $([ "$glsl" = 1 ] && echo on || echo off)"
  printf '%-22s %9s %7s %13s %15s %17s\n' "$name" "$fps" "$ratio" \
    "$(awk -v k="$(field peak_rss_kb "$line")" 'BEGIN{printf "%.1f", k/1024}')" \
    "$(field first_frame_ms "$line")" "$(field first_play_frame_ms "$line")"
  restarts=$(field restarts "$line")
  [ "$restarts" != 0 ] && echo "  ($name: the game was lost and level $level restarted $restarts time(s))"
  awk -v r="$ratio" -v t="$target" 'BEGIN{exit !(r < t)}' && status=1
done
if [ "$status" = 0 ]; then echo "gameplay within $target of the reference"; else echo "gameplay below $target of the reference"; fi
exit $status
