#!/usr/bin/env bash
# Builds Procvault and runs every test. On a fresh Debian 12 machine run it as
# root once, so that it can install the packages it needs.
#   BUILD_DIR     build folder (default: build)
#   PV_WERROR=1   treat warnings as errors
#   PV_SANITIZE=1 AddressSanitizer + UndefinedBehaviorSanitizer build (no benchmarks)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build_dir=${BUILD_DIR:-build}
cmake_args=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
[ "${PV_WERROR:-0}" = 1 ] && cmake_args+=(-DPV_WERROR=ON)
if [ "${PV_SANITIZE:-0}" = 1 ]; then
  cmake_args+=(-DPV_SANITIZE=ON -DPV_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
  export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
fi

cmake -S . -B "$build_dir" "${cmake_args[@]}"
cmake --build "$build_dir" -j "$(nproc)"
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" --timeout 300
