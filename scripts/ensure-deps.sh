#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and nothing when all are present.
# apt-get update runs only when something is missing. Sourced by run.sh and test.sh.
set -euo pipefail

VSOLO_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev
  fonts-liberation2
  poppler-utils
)

vsolo_missing_packages() {
  local pkg
  for pkg in "${VSOLO_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      printf '%s\n' "$pkg"
    fi
  done
}

vsolo_ensure_packages() {
  local missing
  mapfile -t missing < <(vsolo_missing_packages)
  if [ "${#missing[@]}" -eq 0 ]; then
    return 0
  fi
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  echo "Installing missing packages: ${missing[*]}"
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}
