#!/usr/bin/env bash
# Installs what is missing, builds the test configuration (Debug, warnings as errors,
# AddressSanitizer and UndefinedBehaviorSanitizer) in build-test/ and runs every test, then runs
# every fuzz target for 20 seconds when clang is there (VSOLO_SKIP_FUZZ=1 leaves that out).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure-deps.sh
vsolo_ensure_packages test

cmake -S . -B build-test -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug -DVSOLO_WERROR=ON -DVSOLO_SANITIZE=ON -DVSOLO_BUILD_BENCH=OFF
cmake --build build-test
cd build-test
ctest --output-on-failure -j "$(nproc)"
cd ..

# Every fuzz target for 20 seconds, as many at once as there are cores.
if [[ "${VSOLO_SKIP_FUZZ:-0}" != 1 ]] && command -v clang++ >/dev/null; then
  VSOLO_FUZZ_PARALLEL="$(nproc)" fuzz/run.sh 20
fi
