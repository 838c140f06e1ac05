#!/usr/bin/env bash
# Installs what is missing, builds the Release configuration in build-release/ and starts the
# tracker. Arguments go to the tracker (a template path opens that template).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure-deps.sh
vsolo_ensure_packages

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVSOLO_BUILD_TESTS=OFF
cmake --build build-release
exec build-release/tracker/vsolo "$@"
