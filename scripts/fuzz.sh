#!/bin/sh
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for
# SECONDS (default 20) over a copy of its seed corpus. Usage:
# scripts/fuzz.sh [SECONDS]
set -e
cd "$(dirname "$0")/.."
seconds=${1:-20}
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run() {  # run TARGET CORPUS...
    target=$1
    shift
    mkdir -p "$work/$target"
    for seeds in "$@"; do cp tests/fuzz/corpus/"$seeds"/* "$work/$target"/; done
    echo "== $target, $seconds s"
    build-fuzz/tests/fuzz/"$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
        "$work/$target" 2>&1 | grep -E "stat::number_of_executed_units|ERROR|SUMMARY|Done" || true
    # A crash leaves its input behind and a non-zero status: run once more on
    # the corpus alone so that the status reaches the caller.
    build-fuzz/tests/fuzz/"$target" -runs=0 "$work/$target" >/dev/null 2>&1
}
run FuzzTextReader sfv md5 m3u
run FuzzSfvLine sfv value
run FuzzListReaders md5 m3u
