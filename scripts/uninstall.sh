#!/usr/bin/env bash
# usage: [DESTDIR=/staging] scripts/uninstall.sh build/install_manifest.txt
# Removes every file the last install wrote (the manifest lists them under
# the prefix; give the same DESTDIR as the install), then the game's own
# folders once they are empty.
# Folders other packages share (bin/, share/icons/...) are left in place.
set -euo pipefail
manifest="${1:-build/install_manifest.txt}"
if [ ! -f "$manifest" ]; then
  echo "uninstall: no $manifest; run make install first" >&2
  exit 1
fi

own_folders=()
destdir="${DESTDIR:-}"
# The manifest does not end its last line.
while IFS= read -r file || [ -n "$file" ]; do
  [ -n "$file" ] || continue
  [ -n "$destdir" ] && [[ "$file" != "$destdir"/* ]] && file="$destdir$file"
  rm -f -- "$file"
  case "$file" in
    */share/starfield-stampede/*) own_folders+=("${file%%/share/starfield-stampede/*}/share/starfield-stampede") ;;
    */share/doc/starfield-stampede/*) own_folders+=("${file%%/share/doc/starfield-stampede/*}/share/doc/starfield-stampede") ;;
  esac
done < "$manifest"

# Deepest first, so a folder is empty by the time it comes up.
for top in $(printf '%s\n' "${own_folders[@]}" | sort -u); do
  [ -d "$top" ] && find "$top" -depth -type d -empty -delete
done
echo "uninstall: removed the files listed in $manifest"
