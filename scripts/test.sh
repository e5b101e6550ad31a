#!/usr/bin/env bash
# Sets up, builds and runs every test headless: the release build with
# warnings as errors, the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

echo "== source format"
clang-format --dry-run --Werror $(git ls-files '*.cpp' '*.hpp' 2>/dev/null || find core gui cli tests tools bench fuzz -name '*.[ch]pp')

./scripts/start-cups.sh
echo "== release build"
./scripts/build.sh -DONDAVIA_WERROR=ON
(cd build && ctest --output-on-failure -j2)

echo "== sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DONDAVIA_SANITIZE=ON \
  -DONDAVIA_WERROR=ON -DONDAVIA_BUILD_BENCH=OFF > /dev/null
ninja -C build-asan
# The embedded browser engine is not built for the sanitizers: its tests
# (label webengine) run in the release pass only.
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j2 -LE webengine)

echo "== fuzzing ${FUZZ_SECONDS:=60} s"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DONDAVIA_SANITIZE=ON -DONDAVIA_BUILD_FUZZ=ON -DONDAVIA_BUILD_GUI=OFF \
  -DONDAVIA_BUILD_TESTS=OFF -DONDAVIA_BUILD_BENCH=OFF > /dev/null
ninja -C build-fuzz ondavia_fuzz_load
mkdir -p build-fuzz/corpus
build-fuzz/bin/ondavia_fuzz_load -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
  -max_len=8192 -print_final_stats=1 build-fuzz/corpus fuzz/corpus 2>&1 | tail -n 12

echo "== all tests passed"
