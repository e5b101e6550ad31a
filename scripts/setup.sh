#!/usr/bin/env bash
# Installs every Debian 12 package the project needs to build, run and test.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-5compat-dev qt6-tools-dev
  qt6-translations-l10n
  libqcustomplot-dev libxlsxwriter-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format clang-tidy
  fonts-nanum xvfb xauth poppler-utils imagemagick
  gpsbabel libxml2-utils unzip libreoffice-calc-nogui
  cups printer-driver-cups-pdf libjs-leaflet
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
