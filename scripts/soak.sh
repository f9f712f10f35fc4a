#!/usr/bin/env bash
# A long game of random input under AddressSanitizer and UndefinedBehaviorSanitizer:
# the soak test of the test suite, played for 100000 frames (or the number given).
#   scripts/soak.sh [FRAMES]
set -euo pipefail
cd "$(dirname "$0")/.."
FRAMES=${1:-100000}
bash scripts/install-deps.sh
BUILD=${BUILD_DIR:-build-test}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINEGATE_SANITIZE=ON
cmake --build "$BUILD" -j"$(nproc)" --target test_soak
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export BRINEGATE_NO_SOUND=1
export LIBGL_ALWAYS_SOFTWARE=1
export BRINEGATE_SOAK_FRAMES=$FRAMES
# The test runs in a scratch folder of its own; the data folder is found by absolute path.
echo "soak: $FRAMES frames"
time xvfb-run -a -s "-screen 0 1024x768x24" "$BUILD/tests/soak/test_soak" --gtest_color=no
