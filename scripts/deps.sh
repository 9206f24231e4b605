#!/usr/bin/env bash
# Installs the Debian packages that a step needs, skipping what is already
# there. Usage: scripts/deps.sh run|test
set -euo pipefail

run_packages=(
  cmake g++ make pkg-config llvm
  qt6-base-dev libxcb1-dev libgl-dev fonts-dejavu-core
)
test_packages=(
  "${run_packages[@]}"
  googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  libmspack-dev mscompress
  xvfb xauth x11-utils xdotool imagemagick
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64
)

case "${1:-}" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${missing[*]}; run as root (or install them with apt-get) and try again" >&2
  exit 1
fi

echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
