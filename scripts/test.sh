#!/bin/sh
# Installs the dependencies, builds Velmar twice (normal, and with Address-
# and UndefinedBehaviorSanitizer) and runs the whole test suite in both.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh build
sh scripts/build.sh build-asan -DVELMAR_SANITIZE=ON -DVELMAR_BENCH=OFF
echo "== tests: normal build"
ctest --test-dir build --output-on-failure -j"$(nproc)"
echo "== tests: sanitizer build"
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
echo "== fuzzing every list reader for a bounded time"
sh scripts/fuzz.sh 20
