#!/usr/bin/env bash
# Builds and runs every test: the normal build, then the sanitizer build.
# Usage: scripts/test.sh [preset...]   (default: default asan)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh

# ccache hits across clones of the repository: paths are taken relative to it.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

presets=("$@")
((${#presets[@]})) || presets=(default asan)

for preset in "${presets[@]}"; do
  echo "== ${preset}: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== ${preset}: test"
  ctest --preset "$preset"
done
