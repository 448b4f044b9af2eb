#!/usr/bin/env bash
# Installs the Debian packages tcmap needs to build, test and run, but only
# those that are missing, so a warm machine spends seconds here.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config python3
  libgtest-dev libgmock-dev libbenchmark-dev
  libcairo2-dev libpango1.0-dev libfontconfig-dev
  libpng-dev libjpeg-dev zlib1g-dev
  # polygon unions of the forecast cone and the wind swath (the C API, geos_c.h)
  libgeos-dev
  # GIS outputs (GeoJSON, KML/KMZ, GeoPackage, Shapefile) through GDAL/OGR
  libgdal-dev
  # the command line of draw and list, and their JSON output (header-only)
  libcli11-dev nlohmann-json3-dev
  qt6-base-dev
  qt6-translations-l10n
  fonts-wqy-microhei fonts-dejavu-core
  # the Debian package (scripts/package.sh): dpkg-shlibdeps finds its dependencies
  dpkg-dev
  # tests only: validators of the desktop entry and the AppStream metadata
  desktop-file-utils appstream
  # tests only: pdftoppm renders vector maps back to pixels
  poppler-utils
  # tests only: ogrinfo reads the GIS outputs back
  gdal-bin
  # The fuzz targets (scripts/fuzz.sh): clang and its libFuzzer runtime.
  clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  if [[ "$status" != "install ok installed" ]]; then
    missing+=("$package")
  fi
done

if (( ${#missing[@]} > 0 )); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
