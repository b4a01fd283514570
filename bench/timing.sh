# Sourced by the benchmark scripts: best_of RUNS COMMAND... prints the best
# wall time in seconds of RUNS runs of COMMAND, its output thrown away.
best_of() {
    local runs=$1 best= t0 t1 t
    shift
    for _ in $(seq "$runs"); do
        t0=$(date +%s.%N); "$@" > /dev/null 2>&1 || true; t1=$(date +%s.%N)
        t=$(echo "$t1 - $t0" | bc -l)
        if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
    done
    printf '%.3f' "$best"
}
ratio() { printf '%.2f' "$(echo "$1 / $2" | bc -l)"; }
