#!/bin/bash
# A whole tree through whole jobs in the real window (build/bench/headless_job)
# against the peers that walk trees, best of RUNS runs each, in one table:
# Create from Folder and go! against rhash -r, the verification of that list
# against md5sum -c, hashdeep's audit of the tree for reference, Velmar's
# audit against both, Add New Files with ten new files, the largest
# resident memory and longest UI stall of each job, and the problems-only
# view and the saved report of a verification's 100,010 rows.
# Usage: bench/trees.sh [BUILD_DIR] [RUNS]
# The tree (100,010 files, 715 MiB) is made once under $VELMAR_BENCH_DISK_DIR
# (/var/tmp/velmar-sets) and kept; its content is the same on every machine.
set -e
build=${1:-build}
runs=${2:-5}
case $runs in '' | *[!0-9]* | 0) echo "usage: bench/trees.sh [BUILD_DIR] [RUNS]" >&2; exit 2 ;; esac
. "$(dirname "$0")/set_timing.sh"
use_build "$build"

root=${VELMAR_BENCH_DISK_DIR:-/var/tmp/velmar-sets}
tree=$root/tree
# Outside the tree, which every job walks whole: the md5sum list of the tree
# in Velmar's order, and hashdeep's known hashes of the tree with that list
# in it as Velmar writes it, its lines ending in CR LF.
expected=$root/tree.md5sum
known=$root/tree.hashdeep
what="100,010 files"
# The most Velmar's time may be of the peer's, its memory in MB and its
# longest UI stall in ms.
CreateTarget=0.25
VerifyTarget=0.3
AuditTarget=0.8
AuditHashdeepTarget=0.2
# The window's verification against velmar-cli's of the same list: its rows
# may cost the window little more than the hashing.
WindowTarget=1.1
AddLimitS=0.5
MaxRssMb=150
MaxStallMs=50

# make_tree: 1,000 folders of 100 files of 0 to 20 KiB (most of them small,
# a hundred empty) and ten files of 6 MiB at the top, from a seeded
# generator; then the reference lists.
make_tree() {
    [ -f "$root/tree.done" ] && return
    rm -rf "$tree"
    mkdir -p "$tree"
    /usr/bin/python3 - "$tree" << 'EOF'
import os, random, sys
root = sys.argv[1]
r = random.Random(20261209)
for d in range(1000):
    folder = os.path.join(root, f"d{d:03}")
    os.mkdir(folder)
    for f in range(100):
        size = 0 if f == 0 and d % 10 == 0 else int(20480 * r.random() ** 1.99)
        with open(os.path.join(folder, f"f{f:02}.bin"), "wb") as out:
            out.write(r.randbytes(size))
for b in range(10):
    with open(os.path.join(root, f"big{b}.bin"), "wb") as out:
        out.write(r.randbytes(6 << 20))
EOF
    # Velmar lists a folder's entries in the byte order of their names; for
    # these names that is the byte order of the whole paths.
    (cd "$tree" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | xargs -d '\n' md5sum > "$expected"
     sed 's/$/\r/' "$expected" > md5sum
     hashdeep -c md5 -r . > "$known")
    touch "$root/tree.done"
}

# footprint ARGS...: "MB<TAB>MS", the job's largest resident memory and its
# longest UI stall, in one run of its own.
footprint() {
    local out rss
    rss=$(mktemp)
    out=$(/usr/bin/time -f %M -o "$rss" timeout 600 "$job" "$@" 2> /dev/null) || true
    printf '%s\t%s\n' "$(($(tail -1 "$rss") / 1024))" "$(echo "$out" | sed -n 's/.*longest UI stall \([0-9.]*\) ms.*/\1/p')"
    rm -f "$rss"
}

# tree_row JOB TARGET PEER_NAME PEER_COMMAND VELMAR_ARGS...: Velmar's job
# and the peer's, best of $runs each, as a row; with a target, the job's
# memory and stall as two rows more.
tree_row() {
    local name=$1 target=$2 peer=$3 command=$4 velmar theirs use
    shift 4
    velmar=$(best_job "$runs" "$job" "$@")
    theirs=$(best_of "$runs" eval "$command")
    emit_row "$name" "$what" MD5 "$velmar" "$peer" "$theirs" "$target"
    [ "$target" != - ] || return 0
    IFS=$'\t' read -r -a use <<< "$(footprint "$@")"
    emit_row "$name, max RSS MB" "$what" MD5 "${use[0]:-failed}" "limit" "$MaxRssMb" 1
    emit_row "$name, UI stall ms" "$what" MD5 "${use[1]:-failed}" "limit" "$MaxStallMs" 1
}

make_tree
cd "$tree"
find . -type f -print0 | xargs -0 cat > /dev/null
rows_file=$(mktemp)
trap 'rm -f "$rows_file"' EXIT
describe_storage "$tree"
echo "best of $runs, page cache warm, load $(cut -d' ' -f1-3 /proc/loadavg); Velmar's whole job (key press to its last message) against the peer's whole run"
text_header job
tree_row create $CreateTarget "rhash -r --md5" "rhash -r --md5 ." create-folder md5 md5sum .
# The list each creation wrote is the tree's own, or every row after it is
# void; Velmar ends its lines with CR LF.
tr -d '\r' < md5sum | cmp -s - "$expected" || { echo "the list Velmar wrote differs from $expected" >&2; exit 1; }
tree_row verify $VerifyTarget "md5sum -c" "md5sum --quiet -c md5sum" verify md5 md5sum
emit_row "verify, window" "$what" MD5 "$(best_job "$runs" "$job" verify md5 md5sum)" "velmar-cli verify" \
    "$(best_of "$runs" "$(dirname "$job")/../cli/velmar-cli" verify --quiet md5sum)" $WindowTarget
tree_row "verify (reference)" - "hashdeep -a -j2" "hashdeep -c md5 -a -j2 -k $known -r ." verify md5 md5sum
# The audit (every listed file checked, the tree walked, nothing new) against
# md5sum -c alone and against hashdeep's own audit of the tree.
tree_row audit $AuditTarget "md5sum -c" "md5sum --quiet -c md5sum" audit md5sum
tree_row audit $AuditHashdeepTarget "hashdeep -a -j2" "hashdeep -c md5 -a -j2 -k $known -r ." audit md5sum
# Add New Files with ten files the list does not name, which hashes those
# alone: under half a second.
mkdir -p zz-new
for i in 0 1 2 3 4 5 6 7 8 9; do head -c $((1000 * (i + 1))) /dev/zero | tr '\0' "$i" > "zz-new/new$i.bin"; done
emit_row "add 10 new files" "$what" MD5 "$(best_job "$runs" "$job" add md5sum)" "limit s" $AddLimitS 1
rm -rf zz-new
# What a user does with the result: View > Show Problems Only and back on
# the 100,010 rows of a verification that found 3 bad and 2 missing files,
# then File > Save Report in each format. Times are the best of the runs;
# the longest UI stall while they run (the verification's own apart) is
# the worst.
awk 'NR == 100 || NR == 5000 || NR == 90000 { $1 = "00000000000000000000000000000000" }
     NR == 300 || NR == 70000 { $2 = $2 ".gone" } { print $1 "  " $2 }' "$expected" > report-bench.md5
for format in txt csv json html; do
    on= off= saved= stall=
    for _ in $(seq "$runs"); do
        before_run
        out=$(timeout 600 "$job" report md5 report-bench.md5 "$root/report.$format" 2> /dev/null) || true
        echo "$out" | grep -q 'Report Saved' || { on=failed; break; }
        on=$(least "$on" "$(echo "$out" | cut -f5 | sed 's/[^0-9.]//g')")
        off=$(least "$off" "$(echo "$out" | cut -f6 | sed 's/[^0-9.]//g')")
        saved=$(least "$saved" "$(echo "$out" | cut -f7 | sed 's/[^0-9.]//g')")
        this=$(echo "$out" | cut -f3 | sed 's/[^0-9.]//g')
        stall=$(echo "${stall:-0} $this" | awk '{ print ($1 > $2) ? $1 : $2 }')
    done
    if [ "$format" = txt ]; then
        emit_row "problems only, on" "$what" MD5 "${on:-failed}" "limit ms" 100 1
        emit_row "problems only, off" "$what" MD5 "${off:-failed}" "limit ms" 100 1
    fi
    [ "$on" = failed ] && saved=failed stall=failed
    emit_row "save report .$format" "$what" MD5 "$saved" "limit s" 1 1
    emit_row "filter + report .$format, UI stall ms" "$what" MD5 "$stall" "limit" "$MaxStallMs" 1
done
rm -f report-bench.md5 "$root"/report.*
echo
print_table "$rows_file" job
