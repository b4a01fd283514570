#!/bin/bash
# velmar-cli's whole process, best of RUNS runs each, in one table: its
# start (--version), verify --quiet of many small files against md5sum -c
# and of a few large ones against md5sum two at a time, the resident memory
# of a list of a million rows, and the same verification through the CLI
# and through the window (build/bench/headless_job).
# Usage: bench/cli.sh [BUILD_DIR] [RUNS]
# The sets are bench/sets.sh's under $VELMAR_BENCH_DISK_DIR
# (/var/tmp/velmar-sets), made there once and kept, with the million empty
# files in million/ beside them.
set -e
build=${1:-build}
runs=${2:-5}
case $runs in '' | *[!0-9]* | 0) echo "usage: bench/cli.sh [BUILD_DIR] [RUNS]" >&2; exit 2 ;; esac
. "$(dirname "$0")/set_timing.sh"
use_build "$build"
cli=$(realpath "$build/cli/velmar-cli")
[ -x "$cli" ] || { echo "build $cli first" >&2; exit 1; }

root=${VELMAR_BENCH_DISK_DIR:-/var/tmp/velmar-sets}
million=$root/million
# The most velmar-cli's time may be of the peer's (or of the window's), its
# start in ms and its memory in MB.
SmallTarget=0.7
LargeTarget=0.5
WindowTarget=1
# The window's verification of a million-row SFV list against rhash -c of it.
MillionTarget=1
StartLimitMs=5
MaxRssMb=100

# make_million: 1,000 folders of 1,000 empty files and their MD5 list.
make_million() {
    [ -f "$million/done" ] && return
    rm -rf "$million"
    mkdir -p "$million"
    /usr/bin/python3 - "$million" << 'EOF'
import os, sys
root = sys.argv[1]
with open(os.path.join(root, "md5sum"), "w") as out:
    for d in range(1000):
        os.mkdir(os.path.join(root, f"d{d:03}"))
        for f in range(1000):
            name = f"d{d:03}/f{f:03}"
            os.close(os.open(os.path.join(root, name), os.O_CREAT | os.O_WRONLY, 0o644))
            out.write(f"d41d8cd98f00b204e9800998ecf8427e  {name}\n")
EOF
    touch "$million/done"
}

# The same million empty files as an SFV list, for the window.
make_million_sfv() {
    [ -f "$million/list.sfv" ] && return
    (cd "$million" && sed 's/^d41d8cd98f00b204e9800998ecf8427e  \(.*\)$/\1 00000000/' md5sum > list.sfv.new && mv list.sfv.new list.sfv)
}

# set_row SHAPE TARGET PEER_NAME PEER_COMMAND: velmar-cli on the set
# against the peer, warm, as a row.
set_row() {
    local what
    make_set "$root" "$1"
    what=$(shape_text "$1")
    cd "$root/$(shape_folder "$1")"
    xargs -a files cat > /dev/null
    emit_row "verify --quiet" "$what" MD5 "$(best_of "$runs" verifies md5sum)" "$3" "$(best_of "$runs" eval "$4")" "$2"
    cd - > /dev/null
}

milliseconds() { printf '%.2f' "$(echo "$1 * 1000" | bc -l)"; }

rows_file=$(mktemp)
trap 'rm -f "$rows_file"' EXIT
describe_storage "$root"
echo "best of $runs, page cache warm, load $(cut -d' ' -f1-3 /proc/loadavg); velmar-cli's whole process against the peer's"
text_header run

# The start alone, as a script that runs the CLI once per list pays it;
# md5sum's start shows what starting any process costs on this machine.
# Best of ten times the runs: a few milliseconds vary with the machine's
# other work far more than a job does.
start=$(milliseconds "$(best_seconds $((10 * runs)) "$cli" --version)")
emit_row "--version, ms" - - "$start" "limit ms" $StartLimitMs 1
emit_row "--version, ms" - - "$start" "md5sum --version" "$(milliseconds "$(best_seconds $((10 * runs)) md5sum --version)")" -

set_row 10000:4 $SmallTarget "md5sum -c" "md5sum --quiet -c md5sum"
set_row 8:131072 $LargeTarget "xargs -P2 md5sum" "xargs -a files -P2 -n1 md5sum"

# The window's own time for the same verification (key press to summary,
# without its start), against the CLI's whole process.
cd "$root/$(shape_folder 10000:4)"
emit_row "verify --quiet" "10,000 x 4 KiB" MD5 "$(best_of "$runs" verifies md5sum)" \
    "window's job" "$(best_job "$runs" "$job" verify md5 md5sum)" $WindowTarget
cd - > /dev/null

# A list of a million rows holds no details per row while it streams.
make_million
cd "$million"
rss=$(mktemp)
/usr/bin/time -f %M -o "$rss" "$cli" verify --quiet md5sum > /dev/null 2>&1 || echo "warning: velmar-cli verify of $million/md5sum failed" >&2
emit_row "verify, max RSS MB" "1,000,000 x 0 B" MD5 "$(($(tail -1 "$rss") / 1024))" "limit" $MaxRssMb 1
# The window's job of a million-row SFV list against rhash -c, and its memory.
make_million_sfv
emit_row "window's job" "1,000,000 x 0 B" SFV "$(best_job "$runs" "$job" verify sfv list.sfv)" \
    "rhash -c" "$(best_of "$runs" rhash --skip-ok -c list.sfv)" $MillionTarget
/usr/bin/time -f %M -o "$rss" "$job" verify sfv list.sfv > /dev/null 2>&1 || echo "warning: the window's verification of $million/list.sfv failed" >&2
emit_row "window's job, max RSS MB" "1,000,000 x 0 B" SFV "$(($(tail -1 "$rss") / 1024))" "limit" $MaxRssMb 1
rm -f "$rss"
cd - > /dev/null

echo
print_table "$rows_file" run
