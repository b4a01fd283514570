# Sourced by the benchmark scripts. A script that sets cold=1 has the page
# cache dropped before every timed run (which needs root).
before_run() { [ -z "${cold:-}" ] || { sync && echo 3 > /proc/sys/vm/drop_caches; }; }

# least BEST T: the smaller of the two, BEST empty before the first run.
least() { if [ -z "$1" ] || [ "$(echo "$2 < $1" | bc -l)" = 1 ]; then echo "$2"; else echo "$1"; fi; }

# best_seconds RUNS COMMAND... prints the best wall time in seconds of RUNS
# runs of COMMAND, unrounded, its output thrown away. A run that fails is
# said on stderr, as a time that is no work done must not pass for a fast
# one unnoticed. The clock is bash's own, so no process started to read it
# is timed with the command.
best_seconds() {
    local runs=$1 best= t0 t1 rc
    shift
    for _ in $(seq "$runs"); do
        before_run
        t0=$EPOCHREALTIME; rc=0; "$@" > /dev/null 2>&1 || rc=$?; t1=$EPOCHREALTIME
        [ $rc = 0 ] || echo "warning: '$*' in $PWD failed (exit $rc)" >&2
        best=$(least "$best" "$(echo "$t1 - $t0" | bc -l)")
    done
    echo "$best"
}

# best_of RUNS COMMAND...: best_seconds to the millisecond.
best_of() { printf '%.3f' "$(best_seconds "$@")"; }

# best_job RUNS HEADLESS_JOB ARGS... prints the best of the job's own time
# (key press to summary, without the start of the process and the toolkit),
# or "failed" when a run ended otherwise, did not end within ten minutes (a
# key press lost on a loaded machine leaves the window waiting for ever) or
# a verification found anything but good files.
best_job() {
    local runs=$1 best= out t
    shift
    for _ in $(seq "$runs"); do
        before_run
        out=$(timeout 600 "$@" 2>/dev/null) || true
        t=$(echo "$out" | cut -f2 | cut -d' ' -f1)
        if [ -z "$t" ] || { [ "$2" = verify ] && ! echo "$out" | grep -q '^OK:[0-9]*  BAD:0  N/A:0'; }; then
            echo "warning: '$*' in $PWD: ${out:-no summary}" >&2
            echo failed
            return
        fi
        best=$(least "$best" "$t")
    done
    printf '%.3f' "$best"
}

ratio() { printf '%.2f' "$(echo "$1 / $2" | bc -l)"; }
