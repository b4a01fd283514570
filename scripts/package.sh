#!/bin/sh
# Builds Velmar's Debian package (installing what the build needs first) and
# prints the package's path as its last line:
#   sh scripts/package.sh [BUILD_DIR]
# Install it with `apt-get install ./velmar_<version>_amd64.deb`.
set -e
cd "$(dirname "$0")/.."
build=${1:-build-package}
sh scripts/install-deps.sh >&2
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON -DVELMAR_BENCH=OFF >&2
cmake --build "$build" -j"$(nproc)" --target velmar velmar-cli desktop_files man_pages package_changelog >&2
(cd "$build" && cpack -G DEB >&2)
ls -t "$PWD/$build"/velmar_*_amd64.deb | head -n 1
