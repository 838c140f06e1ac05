#!/usr/bin/env bash
# Installs what is missing, builds the Release configuration in build-release/ and starts the
# program. Until the tracker exists this runs the benchmarks with a short summary.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure-deps.sh
vsolo_ensure_packages

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVSOLO_BUILD_TESTS=OFF
cmake --build build-release
exec build-release/bench/vsolo_bench --benchmark_min_time=0.05 "$@"
