#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config libgtest-dev libbenchmark-dev
          qt6-base-dev qt6-svg-dev libgl-dev qt6-qpa-plugins fonts-dejavu-core
          qt6-translations-l10n  # Qt's own dialogs and buttons in German
          qt6-charts-dev libqt6opengl6-dev  # the charts (Qt Charts needs the OpenGL module's CMake files)
          libhwy-dev  # SIMD with run-time dispatch: the batch kernels
          libgdal-dev gdal-bin  # the maps' GeoTIFF and PNG files; gdalinfo for their test
          clang libclang-rt-14-dev  # clang and its runtimes: the fuzz harnesses
          clang-format clang-tidy  # the format check of make test, make tidy
          python3-pandas  # the test that reads the tsv and csv tables back as an analyst does
          # the Python module umbrix (Debian's /usr/bin/python3) and its tests
          python3-dev pybind11-dev python3-pybind11 python3-numpy python3-dask python3-distributed
          python3-pytest
          cmark desktop-file-utils)  # the user manual as HTML; the check of umbrix.desktop
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
