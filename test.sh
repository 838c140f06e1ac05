#!/usr/bin/env bash
# Installs what is missing, builds the test configuration (Debug, warnings as errors,
# AddressSanitizer and UndefinedBehaviorSanitizer) in build-test/ and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure-deps.sh
vsolo_ensure_packages test

cmake -S . -B build-test -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug -DVSOLO_WERROR=ON -DVSOLO_SANITIZE=ON -DVSOLO_BUILD_BENCH=OFF
cmake --build build-test
cd build-test
ctest --output-on-failure -j "$(nproc)"
