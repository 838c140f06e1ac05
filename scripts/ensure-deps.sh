#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and nothing when all are present.
# apt-get update runs only when something is missing. Sourced by run.sh and test.sh.
set -euo pipefail

VSOLO_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libxss-dev libx11-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  fonts-liberation2
  poppler-utils
  libvmime-dev xdg-utils
  librsvg2-bin
)

# Only the tests need these: the mail servers they start on loopback, the tool that makes their
# certificates, the message bus the idle tests start on a socket of their own, clang with its
# libFuzzer runtime for the fuzz targets, and the validators and package tools of the desktop
# files, the installed tree and the Debian package. A desktop that only runs the programs does not
# get mail servers.
VSOLO_TEST_PACKAGES=(
  opensmtpd dovecot-imapd openssl
  dbus-daemon
  clang libclang-rt-14-dev
  binutils desktop-file-utils appstream shared-mime-info libfile-mimeinfo-perl libglib2.0-bin
  lintian dpkg-dev devscripts groff-base
)

# With the argument "test", the packages of the tests as well.
vsolo_missing_packages() {
  local pkg wanted=("${VSOLO_PACKAGES[@]}")
  if [ "${1:-}" = test ]; then
    wanted+=("${VSOLO_TEST_PACKAGES[@]}")
  fi
  for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      printf '%s\n' "$pkg"
    fi
  done
}

vsolo_ensure_packages() {
  local missing
  mapfile -t missing < <(vsolo_missing_packages "${1:-}")
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
