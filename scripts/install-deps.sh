#!/usr/bin/env bash
# Installs every Debian package Trickvault needs to build, run and test.
# Idempotent: does nothing when all packages are present. As root it runs apt-get;
# otherwise it prints the command to run and fails.
set -euo pipefail

PACKAGES=(
  # build
  build-essential cmake ninja-build pkg-config ccache git
  # libraries
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libcurl4-openssl-dev libzip-dev libbz2-dev libjpeg62-turbo-dev liboping-dev
  libxapian-dev libsqlite3-dev libzstd-dev
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  # real peers and fixture tools used by the tests
  zip unzip bzip2 python3 python3-aiosmtpd tinyproxy nginx-light iputils-ping cups printer-driver-cups-pdf poppler-utils
  xvfb xauth x11-apps fonts-dejavu-core imagemagick
  # installing, packaging and the desktop's own tools
  dpkg-dev file appstream desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl libglib2.0-bin xdotool
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

cmd="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run as root:  $cmd" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
