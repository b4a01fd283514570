#!/bin/bash
# The sums past the first three: SHA-1, SHA-512, BLAKE2 and BLAKE3 lists
# verified through whole jobs in the real window (build/bench/headless_job),
# against openssl dgst, each sum's own tool and, for BLAKE3, b3sum with all
# its threads: one 1 GiB file in the page cache, then the sets of
# bench/sets.sh against the best of the peers (the tool two at a time
# among them) and against openssl dgst of the set; and the XXH128 list of
# the 1 GiB file through velmar-cli's whole process against xxhsum -H2 -c.
# Best of N runs, in one run.
# Usage: bench/sums.sh [BUILD_DIR] [RUNS]
set -e
build=${1:-build}
runs=${2:-5}
root=${VELMAR_BENCH_DIR:-/dev/shm/velmar-sets}
. "$(dirname "$0")/set_timing.sh"
use_build "$build"
cli=$(realpath "$build/cli/velmar-cli")
# Velmar's kinds, as its command line names them.
kinds=$("$cli" --help | sed -n 's/.*read or write the list as KIND (\([^)]*\)).*/\1/p')

Sums=()
for sum in "${AllSums[@]:3}"; do
    read -r name kind list tool _ <<< "$sum"
    if ! echo "|$kinds|" | grep -q "|$kind|"; then echo "skipped $name: Velmar has no such kind yet" >&2
    elif ! command -v "$tool" > /dev/null; then echo "skipped $name: $tool is not installed" >&2
    else Sums+=("$sum"); fi
done

big=$root/1x1048576k
mkdir -p "$big"
[ -f "$big/big.iso" ] || head -c $((1024 * 1048576)) /dev/urandom > "$big/big.iso"
cat "$big/big.iso" > /dev/null
describe_storage "$root"
echo "best of $runs; velmar whole job (key press to summary) vs the peer's whole run"
text_header
for sum in "${Sums[@]}"; do
    read -r name kind list tool algorithm hashdeep rhash maker openssl <<< "$sum"
    (cd "$big" && { [ -f "$list" ] || "$maker" big.iso > "$list"; })
    velmar=$(best_job "$runs" "$job" verify "$kind" "$big/$list")
    [ "$openssl" = - ] ||
        emit_row "page cache" "1 x 1 GiB" "$name" "$velmar" "openssl dgst" "$(best_of "$runs" openssl dgst "$openssl" "$big/big.iso")" 1.05
    # b3sum maps the file and hashes it on every core; Velmar's BLAKE3 is to
    # take at most 0.7 of its check.
    check_target=-
    [ "$tool" != b3sum ] || check_target=0.7
    emit_row "page cache" "1 x 1 GiB" "$name" "$velmar" "$tool -c" "$(cd "$big" && best_of "$runs" $(checker "$tool" "$algorithm") "$list")" $check_target
    if [ "$tool" = b3sum ]; then
        emit_row "page cache" "1 x 1 GiB" "$name" "$velmar" "b3sum" "$(best_of "$runs" b3sum "$big/big.iso")" 1
        emit_row "page cache" "1 x 1 GiB" "$name" "$velmar" "b3sum, 1 thread" "$(best_of "$runs" b3sum --num-threads 1 "$big/big.iso")" -
    fi
done
# XXH128 runs faster than the copy out of the page cache: both read the
# file on one thread, and velmar-cli may take at most 1.1 of xxhsum's time.
if ! echo "|$kinds|" | grep -q "|xxh128|"; then echo "skipped XXH128: Velmar has no such kind yet" >&2
elif ! command -v xxhsum > /dev/null; then echo "skipped XXH128: xxhsum is not installed" >&2
else
    cd "$big"
    [ -f XXH128SUMS ] || xxhsum -H2 big.iso > XXH128SUMS
    emit_row "page cache" "1 x 1 GiB" XXH128 "$(best_of "$runs" verifies XXH128SUMS)" "xxhsum -H2 -c" \
        "$(best_of "$runs" xxhsum -H2 --quiet -c XXH128SUMS)" 1.1
    cd - > /dev/null
fi
for shape in $DefaultShapes; do
    make_set "$root" "$shape"
    time_set "$root/$(shape_folder "$shape")" "$shape" "page cache" "$PeerTarget" "" 1.05
done
