#!/bin/bash
# Times Velmar's whole-file engines against the read limit (cat) and the peer
# tools on one file in the page cache, best of N runs each, and prints the
# ratios. Usage: bench/peers.sh [BUILD_DIR] [SIZE_MIB] [RUNS]
set -e
build=${1:-build}
mib=${2:-1024}
runs=${3:-5}
tool=$build/bench/file_checksum
file=${VELMAR_BENCH_FILE:-/dev/shm/velmar-bench-$mib.bin}

[ -x "$tool" ] || { echo "build $tool first" >&2; exit 1; }
if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" -ne $((mib * 1048576)) ]; then
    head -c $((mib * 1048576)) /dev/urandom > "$file"
fi
cat "$file" > /dev/null

. "$(dirname "$0")/timing.sh"
best() { best_of "$runs" "$@"; }

echo "file: $file ($mib MiB), best of $runs"
declare -A T
T[cat]=$(best cat "$file")
T[velmar_crc]=$(best "$tool" crc "$file")
command -v rhash >/dev/null && T[rhash_crc32]=$(best rhash --crc32 "$file")
command -v cksfv >/dev/null && T[cksfv]=$(best cksfv "$file")
T[velmar_md5]=$(best "$tool" md5 "$file")
T[md5sum]=$(best md5sum "$file")
command -v openssl >/dev/null && T[openssl_md5]=$(best openssl md5 "$file")
T[velmar_sha256]=$(best "$tool" sha256 "$file")
T[sha256sum]=$(best sha256sum "$file")
command -v openssl >/dev/null && T[openssl_sha256]=$(best openssl dgst -sha256 "$file")
# b3sum maps the file and hashes it on all threads by default.
T[velmar_b3]=$(best "$tool" b3 "$file")
if command -v b3sum >/dev/null; then
    T[b3sum]=$(best b3sum "$file")
    T[b3sum_1thread]=$(best b3sum --num-threads 1 "$file")
fi

for k in cat velmar_crc rhash_crc32 cksfv velmar_md5 md5sum openssl_md5 velmar_sha256 sha256sum openssl_sha256 velmar_b3 b3sum b3sum_1thread; do
    [ -n "${T[$k]}" ] && printf '%-14s %7s s\n' "$k" "${T[$k]}"
done
ratio() { printf '%-34s %6.2f\n' "$1" "$(echo "${T[$2]} / ${T[$3]}" | bc -l)"; }
echo "-- ratios"
ratio "velmar crc / cat   (target <= 1.25)" velmar_crc cat
[ -n "${T[rhash_crc32]}" ] && ratio "rhash --crc32 / velmar crc (>= 5)" rhash_crc32 velmar_crc
[ -n "${T[cksfv]}" ] && ratio "cksfv / velmar crc" cksfv velmar_crc
ratio "velmar md5 / md5sum (target <= 1.05)" velmar_md5 md5sum
[ -n "${T[openssl_md5]}" ] && ratio "velmar md5 / openssl md5" velmar_md5 openssl_md5
ratio "sha256sum / velmar sha256 (>= 6)" sha256sum velmar_sha256
[ -n "${T[openssl_sha256]}" ] && ratio "velmar sha256 / openssl (<= 1.1)" velmar_sha256 openssl_sha256
[ -n "${T[b3sum]}" ] && ratio "velmar b3 / b3sum (target <= 1)" velmar_b3 b3sum
[ -n "${T[b3sum_1thread]}" ] && ratio "velmar b3 / b3sum --num-threads 1" velmar_b3 b3sum_1thread
# Memory: the peak resident size must not grow with the file.
if command -v /usr/bin/time >/dev/null; then
    /usr/bin/time -f 'velmar crc peak RSS: %M KiB' "$tool" crc "$file" > /dev/null
    /usr/bin/time -f 'velmar md5 peak RSS: %M KiB' "$tool" md5 "$file" > /dev/null
    /usr/bin/time -f 'velmar sha256 peak RSS: %M KiB' "$tool" sha256 "$file" > /dev/null
    /usr/bin/time -f 'velmar b3 peak RSS: %M KiB' "$tool" b3 "$file" > /dev/null
fi
