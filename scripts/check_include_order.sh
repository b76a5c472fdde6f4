#!/usr/bin/env bash
# Fails when a source file includes a header from a subsystem above its own.
# The subsystems stack bottom to top in the order below; a file may include
# headers of its own folder and of the folders beneath it, never above.
# Usage: check_include_order.sh [source-root]   (default: the folder above this script)
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
layers=(platform resources audio game frontend app)

rank_of() {
  local i
  for i in "${!layers[@]}"; do
    if [[ "${layers[$i]}" == "$1" ]]; then echo "$i"; return; fi
  done
  echo -1
}

upward=0
for layer in "${layers[@]}"; do
  own=$(rank_of "$layer")
  shopt -s nullglob
  for file in "$root/$layer"/*.h "$root/$layer"/*.cpp "$root/$layer"/*.inc; do
    while IFS= read -r line; do
      included=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' <<<"$line")
      [[ -z "$included" || "$included" != */* ]] && continue
      target=$(rank_of "${included%%/*}")
      if (( target > own )); then
        echo "$layer/${file##*/}: includes \"$included\", which is above $layer"
        upward=$((upward + 1))
      fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
  done
done
echo "$upward upward includes"
(( upward == 0 ))
