#!/usr/bin/env bash
# Starts the game from the build folder (make run passes it).
#
# Without a display to show it on, the game is shown off instead: it runs on
# a private X server (Xvfb) with OpenAL's null output, is walked with
# synthetic input from the intro through the menu into level 1 and out again
# through its own menu, and a screenshot of every screen is kept under
# <build>/screenshots/.
set -euo pipefail

build=${1:-build}
game="$build/bin/starfield-stampede"
settings="$build/bin/base/config/ss.rep"
window_name="StarfieldStampede"  # part of the window's title

if [[ ! -x "$game" ]]; then
  echo "run: no game at $game; build it first (make build)" >&2
  exit 1
fi

display_reachable() {
  [[ -n "${DISPLAY:-}" ]] || return 1
  if command -v xdpyinfo >/dev/null 2>&1; then
    xdpyinfo >/dev/null 2>&1
  else
    xdotool getdisplaygeometry >/dev/null 2>&1
  fi
}

if display_reachable; then
  exec "$game"
fi

echo "run: no display reachable (DISPLAY='${DISPLAY:-}')."
echo "run: playing a short demonstration on a private X server instead."

for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null 2>&1 || { echo "run: $tool is missing (bash scripts/setup.sh installs it)" >&2; exit 1; }
done

# The X server must have the size the game will ask for.
setting() {
  local value
  value=$("$build/bin/depotbuilder" get "$settings" StarfieldStampede "$1" 2>/dev/null) || value=""
  [[ "$value" =~ ^[0-9]+$ ]] && echo "$value" || echo "$2"
}
width=$(setting ScreenWidth 640)
height=$(setting ScreenHeight 480)

shots="$build/screenshots"
mkdir -p "$shots"
work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [[ -n "$game_pid" ]] && kill "$game_pid" 2>/dev/null || true
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number to descriptor 3;
# -noreset keeps it from dropping a client that connects as the last one leaves.
Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 200); do
  [[ -s "$work/display" ]] && break
  sleep 0.1
done
[[ -s "$work/display" ]] || { echo "run: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"
echo "run: X server $DISPLAY at ${width}x${height}"

ALSOFT_DRIVERS=null "$game" >"$work/game-output.txt" 2>&1 &
game_pid=$!

shot() {
  if import -window root "$shots/$1.png" 2>/dev/null; then
    echo "run: screen '$1'"
  else
    echo "run: could not take a screenshot of '$1'"
  fi
}
key() {  # held for 100 ms: longer than one poll of the game's input
  xdotool keydown "$1"
  sleep "${2:-0.1}"
  xdotool keyup "$1"
}
click() {
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
}
# The menu pointer moves 500 mouse counts per unit of the menu plane.
pointer_by() {
  xdotool mousemove_relative -- "$(( $1 / 2 ))" "$(( -$2 / 2 ))"
}
# Green pixels in a box given in thousandths of the screen (x, y, w, h).
green_pixels() {
  local x=$(( $1 * width / 1000 )) y=$(( $2 * height / 1000 ))
  local w=$(( $3 * width / 1000 )) h=$(( $4 * height / 1000 ))
  import -window root "$work/probe.png" 2>/dev/null || { echo 0; return; }
  convert "$work/probe.png" -crop "${w}x${h}+${x}+${y}" +repage \
    -fx 'g > 0.47 && g > r + 0.2 && g > b + 0.2 ? 1 : 0' -format '%[fx:round(mean*w*h)]' info: 2>/dev/null || echo 0
}
# Waits up to $1 seconds until the box holds more than $2 green pixels.
wait_for_green() {
  local limit=$1 least=$2
  shift 2
  for _ in $(seq $(( limit * 2 ))); do
    kill -0 "$game_pid" 2>/dev/null || return 1
    (( $(green_pixels "$@") > least )) && return 0
    sleep 0.5
  done
  return 1
}
fail() {
  echo "run: $1; the game said:" >&2
  cat "$work/game-output.txt" >&2
  exit 1
}

for _ in $(seq 300); do
  xdotool search --name "$window_name" >/dev/null 2>&1 && break
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended at start-up"
  sleep 0.1
done
sleep 2.5
shot intro
# The title screen's loading bar, then the menu's green high-score line.
wait_for_green 30 100 250 940 500 50 && shot title
wait_for_green 90 15 220 830 400 100 || fail "the menu did not appear"
shot menu

# Start sits 0.135 above the centre, where the pointer starts.
pointer_by 0 135
sleep 0.5
shot menu-start
click
sleep 1.5
shot story-frame
key space
sleep 0.8
shot story-panel
sleep 2.5
shot level-intro
sleep 3
shot gameplay
xdotool keydown Left keydown space
sleep 1.2
xdotool keyup Left keyup space
key Up 0.4
sleep 0.3
shot gameplay-action

key q
sleep 2.5
shot game-over
sleep 4.5
shot credits
key Escape
wait_for_green 20 15 220 830 400 100 || fail "the menu did not come back"
shot menu-again

# Exit lies 0.42 below Start.
pointer_by 0 -420
sleep 0.5
click
for _ in $(seq 200); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$game_pid" 2>/dev/null; then
  fail "the game did not end through its menu"
fi
status=0
wait "$game_pid" || status=$?
game_pid=""
echo "run: the game ended with exit code $status."
echo "run: screenshots are in $(cd "$shots" && pwd)/"
