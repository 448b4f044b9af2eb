#!/usr/bin/env bash
# Builds the Debian package: build-package/tcmap_<version>_amd64.deb, a
# Release build installed under /usr, its library dependencies found by
# dpkg-shlibdeps. Install it with: apt-get install ./build-package/tcmap_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
dir=build-package
flags=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTCMAP_TESTS=OFF -DTCMAP_BENCH=OFF)
if command -v ccache >/dev/null 2>&1; then
  flags+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir"
rm -f "$dir"/tcmap_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/tcmap_*.deb
