#!/bin/bash
# A download's checks through velmar-cli, which runs the window's own jobs:
# one 1 GiB file in the page cache checked against a pasted SHA-256 digest
# (against sha256sum and openssl dgst of it), all eight digests of it from
# one read (against the slowest single digest), and two such files compared
# (against cmp). Best of N runs, in one run.
# Usage: bench/check.sh [BUILD_DIR] [RUNS]
set -e
build=${1:-build}
runs=${2:-5}
root=${VELMAR_BENCH_DIR:-/dev/shm/velmar-sets}
. "$(dirname "$0")/timing.sh"
. "$(dirname "$0")/result_table.sh"
cli=$(realpath "$build/cli/velmar-cli")
[ -x "$cli" ] || { echo "build $cli first" >&2; exit 1; }

big=$root/1x1048576k
mkdir -p "$big"
[ -f "$big/big.iso" ] || head -c $((1024 * 1048576)) /dev/urandom > "$big/big.iso"
[ -f "$big/copy.iso" ] || cp "$big/big.iso" "$big/copy.iso"
cat "$big/big.iso" "$big/copy.iso" > /dev/null
echo "best of $runs; one 1 GiB file in the page cache, velmar-cli's whole run vs the peer's"
text_header
digest_of() { "$cli" check "$big/big.iso" | sed -n "$1p" | cut -d' ' -f1; }
sha256=$(digest_of 4)
velmar=$(best_of "$runs" "$cli" check "$big/big.iso" "$sha256")
emit_row "page cache" "1 x 1 GiB" "check SHA-256" "$velmar" "sha256sum" "$(best_of "$runs" sha256sum "$big/big.iso")" 1.05
emit_row "page cache" "1 x 1 GiB" "check SHA-256" "$velmar" "openssl dgst" "$(best_of "$runs" openssl dgst -sha256 "$big/big.iso")" -

# The slowest digest alone, each the likeliest of its length: one read each.
slowest=
for line in 2 3 4 5; do
    t=$(best_seconds "$runs" "$cli" check "$big/big.iso" "$(digest_of $line)")
    if [ -z "$slowest" ] || [ "$(echo "$t > $slowest" | bc -l)" = 1 ]; then slowest=$t; fi
done
t=$(best_seconds "$runs" b2sum "$big/big.iso")
[ "$(echo "$t > $slowest" | bc -l)" = 1 ] && slowest=$t
emit_row "page cache" "1 x 1 GiB" "all 8 digests" "$(best_of "$runs" "$cli" check "$big/big.iso")" \
    "slowest single" "$(printf '%.3f' "$slowest")" 1.1

emit_row "page cache" "2 x 1 GiB" "compare" "$(best_of "$runs" "$cli" compare "$big/big.iso" "$big/copy.iso")" \
    "cmp" "$(best_of "$runs" cmp "$big/big.iso" "$big/copy.iso")" 1.1
