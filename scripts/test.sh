#!/usr/bin/env bash
# Installs what is missing, builds lumaport and runs the whole test suite.
#   scripts/test.sh              optimised build in build/release
#   scripts/test.sh --sanitize   the same suite under AddressSanitizer and UBSan, in build/sanitize
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=OFF
build=build/release
if [ "${1:-}" = "--sanitize" ]; then
  sanitize=ON
  build=build/sanitize
fi

bash scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMAPORT_WERROR=ON \
  -DLUMAPORT_SANITIZE="$sanitize" > /dev/null
cmake --build "$build" -j"$(nproc)"

if [ "$sanitize" = ON ]; then
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
