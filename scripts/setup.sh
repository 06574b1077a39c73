#!/usr/bin/env bash
# Installs everything Vellumo needs to build, test and benchmark on Debian 12.
# Idempotent: packages already present are left as they are.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config git
    libgtest-dev libgmock-dev googletest
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-image-formats-plugins libqt6svg6
    qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
    libtiff-dev libjpeg62-turbo-dev libpng-dev
    libheif-dev libavif-dev libjxl-dev libraw-dev libopenjp2-7-dev qt6-svg-dev libemf2svg-dev libwmf-dev
    liblcms2-dev libexiv2-dev
    fonts-urw-base35
    fonts-dejavu-core xvfb xauth
    desktop-file-utils appstream man-db
    clang libclang-rt-14-dev
    time
    libheif-examples libjxl-tools libraw-bin libopenjp2-tools imagemagick netpbm
    poppler-utils qpdf libtiff-tools zsh fish
    liblcms2-utils libimage-exiftool-perl icc-profiles-free
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
