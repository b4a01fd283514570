#!/bin/sh
# Installs the dependencies, builds Velmar and starts it on the bundled
# example. Until the main window exists this prints the example files'
# CRC-32 and MD5 values through the engines instead.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh build
if [ -x build/app/velmar ]; then
    exec build/app/velmar examples/album/album.sfv
fi
for f in examples/album/*.bin; do
    build/bench/file_checksum crc "$f"
    build/bench/file_checksum md5 "$f"
done
