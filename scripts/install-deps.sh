#!/usr/bin/env bash
# Installs the Debian 12 packages that are missing: with --demo those the
# sample application needs (the programs, built without tests, benchmarks or
# fuzz targets), otherwise also those the tests, the Windows build under Wine,
# the fuzz targets and the benchmarks need.
#
#   scripts/install-deps.sh [--demo]
set -euo pipefail

# The build of the programs, the server library and the guides.
demo_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core
  nlohmann-json3-dev liblua5.4-dev libcli11-dev libicu-dev
)
packages=(
  "${demo_packages[@]}"
  # the tests: GoogleTest (its sources for the Windows build), the workbooks
  # read back by xlrd and LibreOffice, the guides read back from their PDFs
  libgtest-dev libgmock-dev googletest
  python3 python3-xlrd libreoffice-calc-nogui poppler-utils
  # veltrano-dict's XLIFF read back by independent tools (xmllint, xliff2po,
  # and gettext's msgfmt below); xlwt below writes workbooks with a second sheet
  libxml2-utils translate-toolkit
  # the coverage report rendered by a real browser
  chromium
  # the layout check, and clang for the fuzz targets and the clang build with
  # its check of names
  clang libclang-rt-14-dev clang-format clang-tidy
  # the functions' length check
  universal-ctags
  # the Windows builds (x64 and x86) and their tests, the windows on a
  # virtual display
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools wine64 wine32:i386
  xvfb xauth
  # the Windows packages: wixl makes the MSI, msibuild sets its file versions
  wixl msitools
  # the benchmarks' peers (xlwt and gettext serve the tests too)
  python3-xlwt libfreexl-dev gettext
)

case "${1:-}" in
  --demo) packages=("${demo_packages[@]}") ;;
  "") ;;
  *)
    echo "usage: $0 [--demo]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  # The 32-bit Windows build is tested under 32-bit Wine.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
