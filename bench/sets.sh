#!/bin/bash
# Sets of many files through whole jobs in the real window
# (build/bench/headless_job), against the single-process peers and the same
# peers run two at a time (xargs -P2) and hashdeep -j2, best of N runs, in
# one run. Usage: bench/sets.sh [BUILD_DIR] [RUNS] [cold]
# With "cold" (as root) the page cache is dropped before every run instead.
set -e
build=${1:-build}
runs=${2:-5}
cold=${3:-}
job=$(realpath "$build/bench/headless_job")
root=${VELMAR_BENCH_DIR:-/dev/shm/velmar-sets}
. "$(dirname "$0")/timing.sh"
[ -x "$job" ] || { echo "build $job first" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen

drop() { [ -n "$cold" ] && sync && echo 3 > /proc/sys/vm/drop_caches; true; }
# best RUNS COMMAND...: like best_of, with the cache dropped first when cold.
best() {
    local n=$1 b= t0 t1 t
    shift
    for _ in $(seq "$n"); do
        drop
        t0=$(date +%s.%N); "$@" > /dev/null 2>&1 || true; t1=$(date +%s.%N)
        t=$(echo "$t1 - $t0" | bc -l)
        if [ -z "$b" ] || [ "$(echo "$t < $b" | bc -l)" = 1 ]; then b=$t; fi
    done
    printf '%.3f' "$b"
}
job_best() {
    local b= t
    for _ in $(seq "$runs"); do
        drop
        t=$("$job" "$@" 2>/dev/null | cut -f2 | cut -d' ' -f1)
        if [ -z "$b" ] || [ "$(echo "$t < $b" | bc -l)" = 1 ]; then b=$t; fi
    done
    printf '%.3f' "$b"
}
row() { printf '%-52s %8s s  %8s s  %5sx  (target %s)\n' "$1" "$2" "$3" "$(ratio "$2" "$3")" "$4"; }

make_set() {  # make_set NAME COUNT SIZE_KIB
    mkdir -p "$root/$1"
    [ -f "$root/$1/done" ] && return
    (cd "$root/$1" && head -c $(($2 * $3 * 1024)) /dev/urandom | split -b $(($3 * 1024)) -a 5 -d --additional-suffix=.bin - f
     ls f*.bin > files; md5sum $(cat files) > md5sum; sha256sum $(cat files) > SHA256SUMS; cksfv $(cat files) > list.sfv
     touch done)
}
make_set big 8 131072
make_set mid 1000 1024
make_set small 10000 4

echo "best of $runs${cold:+, page cache dropped before each run}; velmar whole job (key press to summary) vs the peer's whole run"
for set in big mid small; do
    cd "$root/$set"
    case $set in big) what="8 x 128 MiB";; mid) what="1,000 x 1 MiB";; small) what="10,000 x 4 KiB";; esac
    cat $(cat files) > /dev/null
    v=$(job_best verify md5 md5sum)
    row "MD5, $what vs md5sum -c" "$v" "$(best "$runs" md5sum -c --quiet md5sum)" "<= 0.25"
    row "MD5, $what vs 2 x md5sum (xargs -P2)" "$v" "$(best "$runs" sh -c 'xargs -P2 -n $(( $(wc -l < files) / 2 + 1 )) md5sum < files')" "<= 0.5"
    command -v hashdeep >/dev/null &&
        row "MD5, $what vs hashdeep -j2" "$v" "$(best "$runs" hashdeep -j2 -c md5 $(cat files))" "< 1"
    v=$(job_best verify sha256 SHA256SUMS)
    row "SHA256, $what vs 2 x sha256sum" "$v" "$(best "$runs" sh -c 'xargs -P2 -n $(( $(wc -l < files) / 2 + 1 )) sha256sum < files')" "< 1"
    v=$(job_best verify sfv list.sfv)
    row "SFV, $what vs 2 x rhash --crc32" "$v" "$(best "$runs" sh -c 'xargs -P2 -n $(( $(wc -l < files) / 2 + 1 )) rhash --crc32 < files')" "< 1"
    [ $set = small ] && row "SFV, $what vs rhash -c" "$v" "$(best "$runs" rhash -c list.sfv)" "<= 0.7"
    [ $set = small ] && row "MD5, $what vs md5sum -c --quiet" "$(job_best verify md5 md5sum)" "$(best "$runs" md5sum -c --quiet md5sum)" "<= 1"
done
