# Sourced by bench/sets.sh and bench/storage.sh: sets of many files, and
# their verification by Velmar and by the peers, one row for each sum, best
# of $runs runs.
. "$(dirname "${BASH_SOURCE[0]}")/timing.sh"
. "$(dirname "${BASH_SOURCE[0]}")/result_table.sh"

# use_build BUILD_DIR: $job is the build's headless_job, on the offscreen platform.
use_build() {
    job=$(realpath "$1/bench/headless_job")
    [ -x "$job" ] || { echo "build $job first" >&2; exit 1; }
    export QT_QPA_PLATFORM=offscreen
}

# verifies LIST: $cli verify --quiet LIST, which must find every file good
# and some: a run that checked nothing must not pass for a fast one.
verifies() {
    local out
    out=$("$cli" verify --quiet "$1" 2>&1) && [[ $out =~ ^OK:[1-9][0-9]*\ \ BAD:0\ \ N/A:0$ ]]
}

# A set's shape is COUNT:KIB, COUNT files of KIB KiB each. The sets every
# storage is timed on, unless VELMAR_BENCH_SETS names others:
DefaultShapes=${VELMAR_BENCH_SETS:-"8:131072 1000:1024 10000:4"}
# The most Velmar's time may be of the best peer's; on the many small files
# (10,000 x 4 KiB), in memory and cold from a disk, where every file's
# system calls are most of the work.
PeerTarget=0.9
SmallSetTarget=0.6
SmallSetColdTarget=0.8

# target_for SHAPE TARGET: the set's target, the small set's own where the
# shape is that set and the set has a target at all.
target_for() {
    if [ "$1" != 10000:4 ] || [ "$2" = - ]; then echo "$2"
    elif [ -n "${cold:-}" ]; then echo "$SmallSetColdTarget"
    else echo "$SmallSetTarget"; fi
}

# shape_folder SHAPE: the set's folder name, "8x131072k".
shape_folder() { echo "${1%%:*}x${1#*:}k"; }

# shape_text SHAPE: "8 x 128 MiB", "10,000 x 4 KiB".
shape_text() {
    local count=${1%%:*} kib=${1#*:}
    count=$(echo "$count" | sed ':a; s/\([0-9]\)\([0-9]\{3\}\)\($\|,\)/\1,\2\3/; ta')
    if [ $((kib % 1024)) = 0 ]; then echo "$count x $((kib / 1024)) MiB"; else echo "$count x $kib KiB"; fi
}

# The sums: name, Velmar's kind, list, the peers' own tool, the algorithm
# (rhash's and hashdeep's word for it), whether hashdeep has it, whether
# rhash has it, the tool that writes the list, and openssl dgst's option
# ("-": none). Sums are the ones timed; a script may put others there.
AllSums=("MD5 md5 md5sum md5sum md5 yes yes md5sum -md5"
         "SHA-256 sha256 SHA256SUMS sha256sum sha256 yes yes sha256sum -sha256"
         "SFV sfv list.sfv rhash crc32 no yes cksfv -"
         "SHA-1 sha1 SHA1SUMS sha1sum sha1 yes yes sha1sum -sha1"
         "SHA-512 sha512 SHA512SUMS sha512sum sha512 no yes sha512sum -sha512"
         "BLAKE2 blake2 B2SUMS b2sum blake2b no yes b2sum -blake2b512"
         "BLAKE3 blake3 B3SUMS b3sum blake3 no no b3sum -")
Sums=("${AllSums[@]:0:3}")

# make_set ROOT SHAPE: ROOT/FOLDER holds COUNT files of random bytes, their
# names in list order in "files", each sum's list, and each list cut in two
# halves (LIST.half00, LIST.half01) for the peers run two at a time. Kept
# for the next run.
make_set() {
    local count=${2%%:*} kib=${2#*:} dir sum name kind list tool algorithm hashdeep rhash maker
    dir=$1/$(shape_folder "$2")
    mkdir -p "$dir"
    if [ ! -f "$dir/done" ]; then
        (cd "$dir" && head -c $((count * kib * 1024)) /dev/urandom | split -b $((kib * 1024)) -a 5 -d --additional-suffix=.bin - f
         ls f*.bin > files)
        touch "$dir/done"
    fi
    for sum in "${Sums[@]}"; do
        read -r name kind list tool algorithm hashdeep rhash maker _ <<< "$sum"
        [ -f "$dir/$list" ] || (cd "$dir" && xargs -a files "$maker" > "$list.new" && mv "$list.new" "$list")
        [ -f "$dir/$list.half01" ] ||
            grep -v '^;' "$dir/$list" | split -l $(((count + 1) / 2)) -d - "$dir/$list.half"
    done
}

# describe_storage DIR: the file system DIR is on, its device and the
# device's rotational flag, which is what decides how Velmar reads there.
describe_storage() {
    local fs source rota
    read -r fs source <<< "$(findmnt -n -o FSTYPE,SOURCE -T "$1")"
    source=${source%%\[*}
    if [ -b "$source" ]; then
        rota=$(lsblk -d -n -o ROTA "$source" | tr -d ' ')
        echo "$1: $fs on $source, rotational=$rota"
    else
        echo "$1: $fs on $source (no block device)"
    fi
}

# checker TOOL ALGORITHM: the words of TOOL's own verification of a list,
# quiet about good files. rhash is told the algorithm: left to guess it
# from the length of an MD5, it computes every 128-bit digest it knows.
checker() { if [ "$1" = rhash ]; then echo "rhash --skip-ok --$2 -c"; else echo "$1 --quiet -c"; fi; }

# time_peers LIST TOOL ALGORITHM HASHDEEP RHASH: "NAME<TAB>SECONDS<TAB>RUNS"
# for each peer of one sum: its own tool, rhash -c when RHASH is "yes", the
# tool two at a time on the halves of the list, and hashdeep -j2 when
# HASHDEEP is "yes". Every peer runs once, and those within twice the
# fastest of these first runs RUNS - 1 times more: a peer slower than that
# will not be the best, and its runs would be much of the benchmark's time.
time_peers() {
    local list=$1 tool=$2 algorithm=$3 hashdeep=$4 rhash=$5 names=() commands=() first=() fastest= i t n
    names+=("$tool -c") commands+=("$(checker "$tool" "$algorithm") $list")
    [ "$tool" = rhash ] || [ "$rhash" != yes ] || names+=("rhash -c") commands+=("$(checker rhash "$algorithm") $list")
    names+=("2 x $tool -c") commands+=("ls $list.half* | xargs -P2 -n1 $(checker "$tool" "$algorithm")")
    [ "$hashdeep" != yes ] || names+=("hashdeep -j2") commands+=("xargs -a files hashdeep -j2 -c $algorithm")
    for i in "${!commands[@]}"; do
        first[i]=$(best_of 1 eval "${commands[i]}")
        fastest=$(least "$fastest" "${first[i]}")
    done
    for i in "${!commands[@]}"; do
        t=${first[i]} n=1
        if [ "$runs" -gt 1 ] && [ "$(echo "$t <= 2 * $fastest" | bc -l)" = 1 ]; then
            t=$(least "$t" "$(best_of $((runs - 1)) eval "${commands[i]}")") n=$runs
        fi
        printf '%s\t%s\t%s\n' "${names[i]}" "$t" "$n"
    done
}

# time_set DIR SHAPE STORAGE PEER_TARGET [SEQUENTIAL_TARGET [OPENSSL_TARGET]]:
# Velmar and the peers on each sum of the set in DIR, a row against the best
# peer; with SEQUENTIAL_TARGET also one against cat of the files in list
# order, with OPENSSL_TARGET one against openssl dgst of the files, where it
# has the sum. A target may be "-" for none. Warms the set first unless $cold.
time_set() {
    local dir=$1 what storage=$3 peer_target sequential_target=${5:-} openssl_target=${6:-} sequential= sum
    peer_target=$(target_for "$2" "$4")
    local name kind list tool algorithm hashdeep rhash maker openssl velmar peers best
    what=$(shape_text "$2")
    cd "$dir"
    [ -n "${cold:-}" ] || xargs -a files cat > /dev/null
    [ -z "$sequential_target" ] || sequential=$(best_of "$runs" xargs -a files cat)
    for sum in "${Sums[@]}"; do
        read -r name kind list tool algorithm hashdeep rhash maker openssl <<< "$sum"
        velmar=$(best_job "$runs" "$job" verify "$kind" "$list")
        peers=$(time_peers "$list" "$tool" "$algorithm" "$hashdeep" "$rhash")
        best=$(echo "$peers" | sort -t$'\t' -k2,2g | head -1)
        echo "  $storage, $what, $name: velmar $velmar | $(echo "$peers" |
            awk -F'\t' -v runs="$runs" '{ if (NR > 1) printf " | "; printf "%s %s", $1, $2; if ($3 < runs) printf " (1 run)" }')"
        emit_row "$storage" "$what" "$name" "$velmar" "$(echo "$best" | cut -f1)" "$(echo "$best" | cut -f2)" "$peer_target"
        [ -z "$sequential" ] || emit_row "$storage" "$what" "$name" "$velmar" "cat, list order" "$sequential" "$sequential_target"
        [ -z "$openssl_target" ] || [ "$openssl" = - ] ||
            emit_row "$storage" "$what" "$name" "$velmar" "openssl dgst" \
                "$(best_of "$runs" xargs -a files openssl dgst "$openssl")" "$openssl_target"
    done
    cd - > /dev/null
}
