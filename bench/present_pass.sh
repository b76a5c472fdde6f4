#!/usr/bin/env bash
# What presenting through the framebuffer costs, side by side with drawing
# straight into the window, on a private Xvfb of each screen size:
#   quad      one full-window textured quad drawn straight into a window of
#             the screen's size (the least any present can cost)
#   pass      the game's frame cleared and presented through the pass alone,
#             desktop full screen (ratio: pass / quad, target at most 1.1)
#   play      the heaviest level through the pass and straight into the
#             window, GLSL off and on (ratio: through / straight)
# fps and CPU microseconds per frame (all threads) as the programs print them.
#
#   bench/present_pass.sh [BUILD_DIR]      FRAMES (default 600), LEVEL (default 14)
set -euo pipefail
build=${1:-build}
frames=${FRAMES:-600}
level=${LEVEL:-14}
reference=$build/bench/reference_frames_bench
gameplay=$build/bench/gameplay_frames_bench
work=$(mktemp -d)
xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
cp -rs "$(cd "$build/bin/base" && pwd)" "$work/base"
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy

field() { sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<<"$2"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", (b > 0) ? a / b : 0}'; }
row() { printf '  %-34s %9s fps %9s us/frame %s\n' "$1" "$(field fps "$2")" "$(field cpu_us_per_frame "$2")" "${3:-}"; }

start_xvfb() {
  exec 9>"$work/display"
  Xvfb -displayfd 9 -screen 0 "$1x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  exec 9>&-
  for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$work/display")"
}
stop_xvfb() { kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true; xvfb_pid=; rm -f "$work/display"; }

for pair in 640x480:640x480 1920x1080:1024x768; do
  screen=${pair%%:*}
  game=${pair##*:}
  start_xvfb "$screen"
  echo "game $game on a $screen screen, $frames frames"
  quad=$(BENCH_PRESENT=0 BENCH_SCREEN=$screen "$reference" "$work/base" "$frames")
  pass=$(BENCH_FULL_SCREEN=1 BENCH_SCREEN=$game "$reference" "$work/base" "$frames" none)
  row "quad straight into the window" "$quad"
  row "present pass" "$pass" "(cpu ratio to the quad $(ratio "$(field cpu_us_per_frame "$pass")" "$(field cpu_us_per_frame "$quad")"), time ratio $(ratio "$(field fps "$quad")" "$(field fps "$pass")"))"
  for glsl in 0 1; do
    through=$(BENCH_FULL_SCREEN=1 BENCH_SCREEN=$game "$gameplay" "$work/base" "$glsl" "$frames" "$level")
    straight=$(BENCH_PRESENT=0 BENCH_FULL_SCREEN=1 BENCH_SCREEN=$game "$gameplay" "$work/base" "$glsl" "$frames" "$level")
    row "play GLSL $glsl through the pass" "$through" "(cpu ratio $(ratio "$(field cpu_us_per_frame "$through")" "$(field cpu_us_per_frame "$straight")"))"
    row "play GLSL $glsl straight" "$straight"
  done
  stop_xvfb
done
