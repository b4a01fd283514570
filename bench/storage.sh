#!/bin/bash
# The sets of bench/sets.sh over every kind of storage in one run and one
# table, each figure beside its target: Velmar's whole job against the best
# peer, best of RUNS runs each.
# Usage (as root: it mounts and drops the page cache):
#   bench/storage.sh [BUILD_DIR] [RUNS] [CLASS...]
# CLASS is any of tmpfs ext4-warm ext4-cold btrfs-loop ext4-loop spinning
# (all by default, RUNS 5). The table is also written as Markdown to
# $VELMAR_BENCH_OUT (bench-storage.md by default). The sets on the machine's
# disk ($VELMAR_BENCH_DISK_DIR, /var/tmp/velmar-sets) are kept for the next
# run; everything made in memory is removed after each class.
# VELMAR_BENCH_SETS and VELMAR_BENCH_SPINNING_SETS choose other sets
# ("COUNT:KIB ..."), e.g. to try the script quickly on small ones.
set -e
Classes="tmpfs ext4-warm ext4-cold btrfs-loop ext4-loop spinning"
usage() { echo "usage: bench/storage.sh [BUILD_DIR] [RUNS] [CLASS...]; CLASS: $Classes" >&2; exit 2; }
build=${1:-build}
runs=${2:-5}
shift $(($# < 2 ? $# : 2))
classes=${*:-$Classes}
case $runs in '' | *[!0-9]* | 0) usage ;; esac
for class in $classes; do case " $Classes " in *" $class "*) ;; *) usage ;; esac; done
[ "$(id -u)" = 0 ] || { echo "bench/storage.sh runs as root: it mounts file systems and drops the page cache" >&2; exit 1; }

. "$(dirname "$0")/set_timing.sh"
use_build "$build"

disk=${VELMAR_BENCH_DISK_DIR:-/var/tmp/velmar-sets}
memory=/dev/shm/velmar-storage
out=$(realpath -m "${VELMAR_BENCH_OUT:-bench-storage.md}")
spinning_mount=$(realpath "$(dirname "$0")/..")/tests/support/spinning_mount.py
SpinningDisk=(--seek-ms 8 --mib-per-s 200)
# Every byte and every seek costs time on the simulated disk, and the peers
# that read two files at once seek between them at every read-ahead.
SpinningShapes=${VELMAR_BENCH_SPINNING_SETS:-"8:16384 500:64 1000:4"}
rows_file=$(mktemp)
notes=$(mktemp)

# What a class mounted, started and made in memory, undone after the class
# and on any exit; from the root folder, as a shell inside a mount keeps it busy.
mounted=()
fuse_pid=
undo_class() {
    local point
    cd /
    for point in "${mounted[@]}"; do
        ! mountpoint -q "$point" || umount "$point" || umount -l "$point" || true
    done
    mounted=()
    if [ -n "$fuse_pid" ]; then
        kill "$fuse_pid" 2> /dev/null || true
        wait "$fuse_pid" 2> /dev/null || true
        fuse_pid=
    fi
    rm -rf "$memory"
}
trap 'undo_class; rm -f "$rows_file" "$notes"' EXIT
trap 'exit 130' INT TERM

# The default sets, made once on the disk; copied from there into memory.
disk_sets() { for shape in $DefaultShapes; do make_set "$disk" "$shape"; done; }
copy_sets() {  # copy_sets FOLDER
    disk_sets
    mkdir -p "$1"
    for shape in $DefaultShapes; do cp -r "$disk/$(shape_folder "$shape")" "$1/"; done
}
sets_bytes() { local total=0 shape; for shape in $DefaultShapes; do total=$((total + ${shape%%:*} * ${shape#*:} * 1024)); done; echo $total; }

# loop_mount FSTYPE FOLDER: a new FSTYPE in a sparse image in memory, mounted
# on FOLDER through a loop device.
loop_mount() {
    local image=$memory/$1.img
    mkdir -p "$2"
    truncate -s $((2 * $(sets_bytes) + 1024 * 1048576)) "$image"
    case $1 in
        btrfs) mkfs.btrfs -q -f "$image" > /dev/null ;;
        # Inode tables written now, not by a kernel thread during the runs.
        ext4) mkfs.ext4 -q -F -E lazy_itable_init=0,lazy_journal_init=0 "$image" ;;
    esac
    mount -o loop "$image" "$2"
    mounted=("$2" "${mounted[@]}")
}

# spinning_up FOLDER: the simulated spinning disk over the spinning sets,
# mounted on FOLDER; fails with why in $about when it cannot be.
spinning_up() {
    local backing=$memory/spinning-backing
    [ -f "$spinning_mount" ] || { about="skipped: $spinning_mount is not there"; return 1; }
    [ -w /dev/fuse ] && /usr/bin/python3 -c 'import fusepy' 2> /dev/null ||
        { about="skipped: needs /dev/fuse and python3-fusepy"; return 1; }
    for shape in $SpinningShapes; do make_set "$backing" "$shape"; done
    mkdir -p "$1"
    /usr/bin/python3 "$spinning_mount" "$backing" "$1" "${SpinningDisk[@]}" &
    fuse_pid=$!
    for _ in $(seq 100); do
        mountpoint -q "$1" && { mounted=("$1" "${mounted[@]}"); return 0; }
        kill -0 "$fuse_pid" 2> /dev/null || break
        sleep 0.1
    done
    about="skipped: $spinning_mount did not mount $1"
    return 1
}

# run_class CLASS: the class's folder made ready, its sets timed, undone;
# what the storage is, or why the class was skipped, left in $about.
run_class() {
    local class=$1 dir shapes=$DefaultShapes peer_target=$PeerTarget sequential_target= how=
    cold=
    case $class in
        tmpfs) dir=$memory/tmpfs; copy_sets "$dir" ;;
        ext4-warm | ext4-cold)
            dir=$disk
            disk_sets
            [ "$(findmnt -n -o FSTYPE -T "$dir")" = ext4 ] || how=", not ext4"
            [ $class = ext4-warm ] || { cold=1; how="$how, page cache dropped before every run"; } ;;
        btrfs-loop | ext4-loop) dir=$memory/$class; loop_mount "${class%-loop}" "$dir"; copy_sets "$dir" ;;
        spinning)
            dir=$memory/spinning
            spinning_up "$dir" || { echo "$about"; undo_class; return 0; }
            cold=1 shapes=$SpinningShapes sequential_target=1.1 peer_target=-
            how=", simulated with ${SpinningDisk[*]}, smaller sets, page cache dropped before every run" ;;
    esac
    sync
    about="$(describe_storage "$dir")$how"
    echo "$about"
    text_header
    for shape in $shapes; do
        time_set "$dir/$(shape_folder "$shape")" "$shape" "$class" "$peer_target" "$sequential_target"
    done
    undo_class
}

# The Velmar time of one kept row: velmar_time STORAGE SET SUM.
velmar_time() { awk -F'\t' -v s="$1" -v t="$2" -v u="$3" '$1 == s && $2 == t && $3 == u { print $4; exit }' "$rows_file"; }

echo "best of $runs; Velmar's whole job (key press to summary) against the peer's whole run; targets: Velmar <= $PeerTarget x the best peer ($SmallSetTarget on 10,000 x 4 KiB, $SmallSetColdTarget cold), on spinning <= 1.1 x cat in list order"
started=$(date +%s)
for class in $classes; do
    t0=$(date +%s)
    echo "== $class"
    run_class "$class"
    echo "$class took $(($(date +%s) - t0)) s"
    echo "- $class, $(($(date +%s) - t0)) s: $about" >> "$notes"
done
big=$(shape_text "${DefaultShapes%% *}")
disk_md5=$(velmar_time ext4-warm "$big" MD5)
memory_md5=$(velmar_time tmpfs "$big" MD5)
[ -z "$disk_md5" ] || [ -z "$memory_md5" ] ||
    emit_row "warm MD5 $big, ext4 on this disk vs tmpfs" "$big" MD5 "$disk_md5" "Velmar on tmpfs" "$memory_md5" 1.2 > /dev/null
echo "- all, $(($(date +%s) - started)) s" | tee -a "$notes"

echo
print_table "$rows_file"
{
    echo "Best of $runs runs, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) CPUs, $(uname -r); Velmar's whole job through the real window (key press to summary) against the peer's whole run."
    echo
    markdown_table "$rows_file"
    echo
    cat "$notes"
} > "$out"
echo "written to $out"
