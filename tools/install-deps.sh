#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
# Further package names given as arguments (a benchmark's tools) are installed the same way.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev locales
  libsndfile1-dev libcairo2-dev libfreetype-dev libpng-dev libjpeg62-turbo-dev libfftw3-dev fonts-roboto-unhinted
  clang libclang-rt-14-dev libx11-dev libxext-dev libxtst-dev xvfb "$@")

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  runner=()
elif command -v sudo >/dev/null 2>&1; then
  runner=(sudo)
else
  echo "Missing Debian packages: ${missing[*]}. Install them as root: apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "Installing missing Debian packages: ${missing[*]}"
"${runner[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${runner[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
