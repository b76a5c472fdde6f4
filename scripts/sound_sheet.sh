#!/usr/bin/env bash
# Writes every generated sound effect (the ship's and the events') into one
# WAV, in turn with half a second of silence between them, and one labelled
# PNG of their waveforms (green, above) and spectrograms (40 Hz to 20 kHz,
# logarithmic; -96 dB black to 0 dB white), in the same order.
#
# usage: scripts/sound_sheet.sh [BUILD_DIR] [OUT.wav] [OUT.png]
#   BUILD_DIR  a build whose bin/ holds base/ and soundsheet (default: build)
#   OUT.wav    the listening file (default: docs/sound-sheet.wav)
#   OUT.png    the picture (default: docs/sound-sheet.png)
# Needs ImageMagick (montage).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
wav="${2:-$root/docs/sound-sheet.wav}"
png="${3:-$root/docs/sound-sheet.png}"
base="$build/bin/base"
tool="$build/bin/soundsheet"

[ -d "$base/sound" ] || { echo "sound_sheet: no generated tree in $base (build first)" >&2; exit 1; }
[ -x "$tool" ] || { echo "sound_sheet: no $tool (build it first)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$(dirname "$wav")" "$(dirname "$png")"

tiles=()
while IFS=$'\t' read -r tile label; do
  convert "$tile" -auto-orient -set label "$label" "$tile.png"
  tiles+=("$tile.png")
done < <("$tool" "$base" "$wav" "$work/tiles")

montage "${tiles[@]}" -tile 3x -geometry +6+6 -background '#181818' -fill '#e0e0e0' \
  -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf -pointsize 13 -depth 8 \
  -define png:compression-level=9 "$png"
echo "sound_sheet: wrote $wav and $png"
