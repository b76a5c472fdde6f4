#!/usr/bin/env bash
# Starts the game from the build folder.
set -euo pipefail
build=${1:-build}
exec "$build/bin/starfield-stampede"
