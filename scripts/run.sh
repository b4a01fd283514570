#!/bin/sh
# Installs the dependencies, builds Velmar and starts it on the bundled
# example album, whose list it verifies at once.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh build
exec build/app/velmar examples/album/album.sfv
