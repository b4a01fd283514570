#!/bin/sh
# Starts the real program in a real X server and waits for a top-level
# window titled "Velmar". Usage: window_appears.sh VELMAR [ARGUMENT...]
set -e
program=$1
shift
command -v xvfb-run >/dev/null && command -v xwininfo >/dev/null || { echo "xvfb-run or xwininfo missing"; exit 77; }
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME=$home XDG_CONFIG_HOME=$home/.config xvfb-run -a -s "-screen 0 1024x768x24 -noreset" sh -c '
    unset QT_QPA_PLATFORM
    "$0" "$@" &
    pid=$!
    for i in $(seq 100); do
        if xwininfo -root -tree | grep -q "\"Velmar\""; then
            xwininfo -root -tree | grep "\"Velmar\""
            kill $pid
            exit 0
        fi
        sleep 0.1
    done
    kill $pid
    echo "no window titled Velmar after 10 s"
    exit 1
' "$program" "$@"
