#!/usr/bin/env bash
# Installs every Debian package the build, the game, the tools and the tests
# need. Packages already present are skipped, so a second run costs a second.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libopenal-dev libopenal1 libvorbis-dev
  libgl-dev libgl1-mesa-dri libglx-mesa0 libx11-dev libxrandr-dev
  libfreetype-dev fonts-dejavu-core
  googletest libgtest-dev libgmock-dev libbenchmark-dev libstb-dev
  xvfb xauth xdotool imagemagick x11-apps x11-utils
  xfonts-base  # core X fonts: the failure message box draws with them under Xvfb
  clang libclang-rt-14-dev
  desktop-file-utils appstream man-db groff-base dpkg-dev file lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
  echo "setup: this system has no apt-get. Install these packages (or their" >&2
  echo "equivalents) by hand, then run make again: ${missing[*]}" >&2
  exit 1
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || { echo "setup: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
