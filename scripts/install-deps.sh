#!/bin/sh
# Installs everything Velmar needs to build, run and test on Debian 12.
# Safe to run again: apt-get skips what is already there.
set -e
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
    g++ cmake make \
    qt6-base-dev qt6-svg-dev \
    libgtest-dev libgmock-dev libbenchmark-dev \
    xvfb xauth x11-utils xdotool mpv \
    rhash cksfv openssl coreutils b3sum clang libclang-rt-14-dev \
    xdg-utils shared-mime-info desktop-file-utils libglib2.0-bin libfile-mimeinfo-perl \
    appstream lintian dpkg-dev fakeroot python3-gi gir1.2-glib-2.0 \
    libisal-dev zlib1g-dev libssl-dev libutf8proc-dev liburing-dev libxxhash-dev xxhash libgpgme-dev gnupg \
    pkg-config hashdeep bc time python3-fusepy python3-xlib \
    btrfs-progs e2fsprogs groff-base man-db
