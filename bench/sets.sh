#!/bin/bash
# Sets of many files in one folder through whole jobs in the real window
# (build/bench/headless_job) against the peers: each sum's own tool and
# rhash -c, the tool two at a time (xargs -P2, half the list each) and
# hashdeep -j2, best of N runs, a row per set and sum against the best peer.
# Usage: bench/sets.sh [BUILD_DIR] [RUNS] [cold]
# VELMAR_BENCH_DIR is where the sets lie (made there once and kept). With
# "cold" (as root) the page cache is dropped before every run instead.
# bench/storage.sh runs the same over every kind of storage in one table.
set -e
build=${1:-build}
runs=${2:-5}
case ${3:-} in "") cold= ;; cold) cold=1 ;; *) echo "usage: bench/sets.sh [BUILD_DIR] [RUNS] [cold]" >&2; exit 2 ;; esac
root=${VELMAR_BENCH_DIR:-/dev/shm/velmar-sets}
. "$(dirname "$0")/set_timing.sh"
use_build "$build"

mkdir -p "$root"
describe_storage "$root"
echo "best of $runs${cold:+, page cache dropped before each run}; velmar whole job (key press to summary) vs the peer's whole run"
text_header
for shape in $DefaultShapes; do
    make_set "$root" "$shape"
    time_set "$root/$(shape_folder "$shape")" "$shape" "$(basename "$root")${cold:+ (cold)}" "$PeerTarget"
done
