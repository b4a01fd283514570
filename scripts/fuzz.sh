#!/bin/sh
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for
# SECONDS (default 20), starting from copies of real lists (ours and the
# peer tools') in tests/fuzz/lists. Usage:
# scripts/fuzz.sh [SECONDS]
set -e
cd "$(dirname "$0")/.."
seconds=${1:-20}
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run() {  # run TARGET LIST-FOLDER...
    target=$1
    shift
    mkdir -p "$work/$target"
    for kind in "$@"; do cp tests/fuzz/lists/"$kind"/* "$work/$target"/; done
    echo "== $target, $seconds s"
    status=0
    build-fuzz/tests/fuzz/"$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="$work/$target-" "$work/$target" > "$work/$target.log" 2>&1 || status=$?
    grep -E "stat::number_of_executed_units|ERROR|SUMMARY|Done" "$work/$target.log" || true
    if [ "$status" -ne 0 ]; then
        tail -40 "$work/$target.log"
        ls "$work/$target"-* 2>/dev/null
        exit 1
    fi
}
run FuzzTextReader sfv md5 m3u sha256 sums
run FuzzSfvLine sfv value
run FuzzListReaders md5 m3u sfv sha256 sums
