#!/bin/sh
# Draws the picture of the window the README shows: a verification of a
# small album with two bad files and a missing one, seen through View > Show
# Problems Only, with the tooltip of a bad row. Needs xvfb-run, xdotool and python3-xlib.
# Usage: scripts/window-picture.sh BUILD_DIR [PNG]   (resources/window-problems.png by default)
set -e
velmar=$(realpath "${1:?usage: scripts/window-picture.sh BUILD_DIR [PNG]}/app/velmar")
out=$(realpath -m "${2:-$(dirname "$0")/../resources/window-problems.png}")
xwindow="/usr/bin/python3 $(cd "$(dirname "$0")/../tests/app" && pwd)/xwindow.py"
if [ "$3" != --inside ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    HOME=$work XDG_CONFIG_HOME=$work/.config xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$1" "$out" --inside "$work"
    exit $?
fi
work=$4
mkdir "$work/Album" && cd "$work/Album"
for n in $(seq -w 1 12); do head -c $((${n#0} * 7000)) /dev/urandom > "Track $n.flac"; done
md5sum ./*.flac | sed 's|\./||' > Album.md5
echo changed > "Track 04.flac"; echo changed > "Track 09.flac"; rm "Track 11.flac"
unset QT_QPA_PLATFORM
"$velmar" Album.md5 & pid=$!
for _ in $(seq 300); do
    [ "$(xdotool search --name '^Velmar$' 2>/dev/null | grep -c .)" -ge 3 ] && break
    sleep 0.1
done
xdotool key Escape   # no renaming
sleep 1
main=$(for w in $(xdotool search --name '^Velmar$'); do
    eval "$(xdotool getwindowgeometry --shell "$w")"; echo "$((WIDTH * HEIGHT)) $w"; done | sort -n | tail -1 | cut -d' ' -f2)
xdotool windowfocus --sync "$main" key ctrl+p
sleep 1
# The second row's tooltip: what Velmar knows of it.
xdotool mousemove --window "$main" 80 45
sleep 2
# Read from the screen, not the window: the tooltip is a window of its own.
$xwindow screen "$main" "$out"
kill "$pid"
echo "$out"
