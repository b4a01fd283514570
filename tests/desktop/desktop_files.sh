#!/bin/sh
# The installed desktop files, as the desktop's own tools read them:
#   desktop_files.sh MIME_PACKAGE DESKTOP_ENTRY METAINFO
# each file valid for its validator, and in a scratch XDG home the lists of
# every kind told as Velmar's types and opened by Velmar's entry.
set -eu
mime=$1 entry=$2 metainfo=$3
desktop-file-validate "$entry"
appstreamcli validate --no-net --pedantic "$metainfo"

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/data/mime/packages" "$home/data/applications" "$home/config" "$home/files"
cp "$mime" "$home/data/mime/packages/"
cp "$entry" "$home/data/applications/"
export XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_DATA_DIRS=/usr/share
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID || true
update-mime-database "$home/data/mime"
update-desktop-database "$home/data/applications"

fail=0
check() {  # check FILE TYPE
    : > "$home/files/$1"
    got=$(xdg-mime query filetype "$home/files/$1")
    [ "$got" = "$2" ] || { echo "$1: told as '$got', not $2"; fail=1; }
    default=$(xdg-mime query default "$2")
    [ "$default" = velmar.desktop ] || { echo "$2: opened by '$default', not velmar.desktop"; fail=1; }
}
check SHA256SUMS text/x-sha256sum
check album.sfv text/x-sfv
check x.md5 text/x-md5sum
check md5sum text/x-md5sum
check y.b3 text/x-b3sum
check B2SUMS text/x-b2sum
check disc.sha3-512 text/x-sha3-512sum
check set.xxh128 text/x-xxh128sum
exit $fail
