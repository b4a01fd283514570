#!/bin/bash
# The program as a user runs it: whole jobs through the real main window
# (build/bench/headless_job) against the peer tools on the same files, best
# of N runs each, in one run. Usage: bench/e2e.sh [BUILD_DIR] [RUNS]
set -e
build=${1:-build}
runs=${2:-5}
job=$(realpath "$build/bench/headless_job")
root=${VELMAR_BENCH_DIR:-/dev/shm/velmar-e2e}
. "$(dirname "$0")/timing.sh"
[ -x "$job" ] || { echo "build $job first" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen

# 10,000 files of 4 KiB, and one of 1 GiB.
mkdir -p "$root/many" "$root/big"
cd "$root/many"
if [ ! -f f09999.bin ]; then
    head -c $((10000 * 4096)) /dev/urandom | split -b 4096 -a 5 -d --additional-suffix=.bin - f
fi
[ -f "$root/big/big.iso" ] || head -c $((1024 * 1048576)) /dev/urandom > "$root/big/big.iso"
files=$(ls f*.bin)
cksfv $files > list.sfv
md5sum $files > md5sum
sha256sum $files > SHA256SUMS
"$job" create m3u list.m3u $files > /dev/null 2>&1
(cd "$root/big" && cksfv big.iso > big.sfv)
cat $files "$root/big/big.iso" > /dev/null

job_best() { best_job "$runs" "$job" "$@"; }
stall() { "$job" "$@" 2>/dev/null | sed 's/.*longest UI stall //'; }
row() { printf '%-44s %8s s  %8s s  %5sx  (target %s)\n' "$1" "$2" "$3" "$(ratio "$2" "$3")" "$4"; }

echo "best of $runs; velmar through the real window (key press to summary) vs the peer's whole run"
printf '%-44s %10s  %10s  %6s\n' "job" "velmar" "peer" "ratio"
v=$(job_best verify sfv list.sfv)
p=$(best_of "$runs" rhash -c list.sfv)
row "verify SFV, 10,000 x 4 KiB vs rhash -c" "$v" "$p" "<= 1.5"
p=$(best_of "$runs" cksfv -q -f list.sfv)
row "verify SFV, 10,000 x 4 KiB vs cksfv -f" "$v" "$p" "-"
v=$(job_best create sfv new.sfv $files)
p=$(best_of "$runs" sh -c "cksfv $files > new2.sfv")
row "create SFV, 10,000 x 4 KiB vs cksfv" "$v" "$p" "<= 2"
v=$(job_best verify sfv "$root/big/big.sfv")
p=$(best_of "$runs" cat "$root/big/big.iso")
row "verify SFV, 1 GiB vs cat" "$v" "$p" "<= 1.3"
v=$(job_best verify md5 md5sum)
p=$(best_of "$runs" md5sum -c --quiet md5sum)
row "verify MD5, 10,000 x 4 KiB vs md5sum -c --quiet" "$v" "$p" "<= 1.5"
(cd "$root/big" && md5sum big.iso > md5sum)
v=$(job_best verify md5 "$root/big/md5sum")
p=$(best_of "$runs" sh -c "cd $root/big && md5sum -c md5sum")
row "verify MD5, 1 GiB vs md5sum -c" "$v" "$p" "<= 1.05"
v=$(job_best verify m3u list.m3u)
p=$(best_of "$runs" md5sum -c --quiet md5sum)
row "verify M3U, 10,000 x 4 KiB vs md5sum -c --quiet" "$v" "$p" "<= 1.5"
v=$(job_best create m3u new.m3u $files)
p=$(best_of "$runs" sh -c "md5sum $files > new.md5")
row "create M3U, 10,000 x 4 KiB vs md5sum" "$v" "$p" "<= 2"
v=$(job_best verify sha256 SHA256SUMS)
p=$(best_of "$runs" sha256sum -c --quiet SHA256SUMS)
row "verify SHA256, 10,000 x 4 KiB vs sha256sum -c --quiet" "$v" "$p" "<= 1.2"
(cd "$root/big" && sha256sum big.iso > SHA256SUMS)
v=$(job_best verify sha256 "$root/big/SHA256SUMS")
p=$(best_of "$runs" sh -c "cd $root/big && sha256sum -c SHA256SUMS")
row "verify SHA256, 1 GiB vs sha256sum -c" "$v" "$p" "<= 0.167"
p=$(best_of "$runs" openssl dgst -sha256 "$root/big/big.iso")
row "verify SHA256, 1 GiB vs openssl dgst -sha256" "$v" "$p" "<= 1.1"
v=$(job_best create sha256 new.sha256 $files)
p=$(best_of "$runs" sh -c "sha256sum $files > new2.sha256")
row "create SHA256, 10,000 x 4 KiB vs sha256sum" "$v" "$p" "-"
echo "longest UI stall, verify SFV 10,000: $(stall verify sfv list.sfv)"
echo "longest UI stall, create SFV 10,000: $(stall create sfv new.sfv $files)"
echo "longest UI stall, verify MD5 1 GiB:  $(stall verify md5 "$root/big/md5sum")"
