#!/usr/bin/env bash
# Installs the Debian packages the build needs, and any packages named on
# the command line, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ clang libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  # the command line's argument parser (header-only)
  libcli11-dev
  # the desktop window: Qt 6 Widgets, Qt's Japanese texts, a Japanese font
  qt6-base-dev qt6-translations-l10n fonts-vlgothic
  # its real-run test and the README screenshots, under a virtual display
  xvfb xauth xdotool imagemagick
  # setpriv and prlimit, with which tests run as an unprivileged user
  util-linux
  "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
