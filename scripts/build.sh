#!/bin/sh
# Configures and builds Velmar in build/ (or the folder given as $1, with any
# further arguments passed to CMake).
set -e
cd "$(dirname "$0")/.."
dir=${1:-build}
[ $# -gt 0 ] && shift
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
