#!/usr/bin/env bash
# Installs the build into a fresh prefix, builds a host against the installed
# SDK alone and runs it. Usage: sdk_test.sh <build dir> <source dir>
set -euo pipefail
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
cmake -S "$source/tests/sdk/host" -B "$work/host" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/host" >/dev/null
"$work/host/sdkhost"
