#!/bin/sh
# Installs the dependencies, builds Velmar three times (normal, with Address-
# and UndefinedBehaviorSanitizer, with ThreadSanitizer) and runs the test
# suite in each, then fuzzes every list reader for a bounded time.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh build
sh scripts/build.sh build-asan -DVELMAR_SANITIZE=ON -DVELMAR_BENCH=OFF
sh scripts/build.sh build-tsan -DVELMAR_TSAN=ON -DVELMAR_BENCH=OFF
echo "== tests: normal build"
ctest --test-dir build --output-on-failure -j"$(nproc)"
echo "== tests: sanitizer build"
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
echo "== tests: thread-sanitizer build (the jobs, their frame and the OS layer)"
ctest --test-dir build-tsan --output-on-failure -j"$(nproc)"
echo "== fuzzing every list reader for a bounded time"
sh scripts/fuzz.sh 20
