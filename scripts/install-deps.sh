#!/usr/bin/env bash
# Installs every Debian package that building, testing and running lumaport needs.
# Used by .ci/run and by the README; safe to run again.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake pkg-config clang-format
  # image codecs
  libfreeimage-dev libdevil-dev libjxr-dev libjxr-tools libtiff-dev
  libpng-dev libjpeg-dev
  # drawing, text and fonts
  libcairo2-dev libpango1.0-dev fonts-liberation fonts-dejavu-core
  # text, archives, window system
  libutf8proc-dev libarchive-dev qt6-base-dev
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  imagemagick libmagickcore-6.q16-6-extra python3-pil
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
