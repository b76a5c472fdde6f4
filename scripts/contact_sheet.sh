#!/usr/bin/env bash
# Writes one labelled PNG of every generated picture: each TGA under
# base/textures and base/fonts, and every sprite of the menu bundles (taken
# out with bundletool). Pictures with alpha are shown over a grey checker.
#
# usage: scripts/contact_sheet.sh [BUILD_DIR] [OUT.png]
#   BUILD_DIR  a build whose bin/ holds base/ and bundletool (default: build)
#   OUT.png    the sheet (default: docs/contact-sheet.png)
# Needs ImageMagick (montage, convert).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
out="${2:-$root/docs/contact-sheet.png}"
base="$build/bin/base"
bundletool="$build/bin/bundletool"

[ -d "$base/textures" ] || { echo "contact_sheet: no generated tree in $base (build first)" >&2; exit 1; }
[ -x "$bundletool" ] || { echo "contact_sheet: no $bundletool (build it first)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

tiles=()
label() { printf '%s' "$1" | tr '/' ':'; }
add_tile() {  # add_tile SOURCE.tga LABEL
  local tile="$work/$(printf '%04d' ${#tiles[@]}).png"
  # Flatten over a checker so transparent parts show as such.
  convert -size 180x180 pattern:checkerboard -fill '#303030' -colorize 70% \
    \( "$1" -auto-orient -resize 180x180 \) -gravity center -composite \
    -set label "$2" "$tile"
  tiles+=("$tile")
}

while IFS= read -r file; do
  rel="${file#"$base"/}"
  add_tile "$file" "$(label "${rel#textures/}")"
done < <(find "$base/textures" "$base/fonts" -name '*.tga' | sort)

for bundle in "$base"/tbundles/menu/*.etb; do
  name="$(basename "$bundle" .etb)"
  while read -r sprite _; do
    "$bundletool" extract "$bundle" "$sprite" "$work/sprite.tga"
    add_tile "$work/sprite.tga" "$name:$sprite"
  done < <("$bundletool" list "$bundle" | sed -n '2,$p' | grep -v '^region ')
done

mkdir -p "$(dirname "$out")"
montage "${tiles[@]}" -tile 10x -geometry 180x180+6+6 -background '#181818' -fill '#e0e0e0' \
  -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf -pointsize 11 -depth 8 -define png:compression-level=9 "$out"
echo "contact_sheet: ${#tiles[@]} pictures in $out"
