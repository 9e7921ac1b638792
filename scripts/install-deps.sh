#!/usr/bin/env bash
# Installs the Debian 12 packages that the build, the tests (GNU parallel: the batch
# recipes of the manual), the GUI, the Python module and its tests (pandas: for the
# tests of to_pandas), the benchmarks and the packaging need, skipping
# those already present. Works as root (CI) and
# through sudo otherwise.
set -euo pipefail

packages=(
  build-essential cmake ninja-build g++ clang clang-format clang-tidy libclang-rt-14-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcli11-dev
  qt6-base-dev qt6-svg-dev libgl-dev libegl-dev libxkbcommon-dev
  fonts-dejavu-core xdg-utils desktop-file-utils shared-mime-info
  dpkg-dev file
  parallel
  python3 python3-dev python3-pybind11 pybind11-dev python3-numpy python3-pytest python3-pandas
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "install-deps: missing ${missing[*]} and neither root nor sudo available" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
