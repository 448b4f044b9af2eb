#!/usr/bin/env bash
# Configures and builds one build tree: scripts/build.sh [normal|asan]
set -euo pipefail
cd "$(dirname "$0")/.."
variant=${1:-normal}
case "$variant" in
  normal) dir=build; flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan)   dir=build-asan; flags=(-DCMAKE_BUILD_TYPE=Debug -DTCMAP_SANITIZE=ON -DTCMAP_BENCH=OFF) ;;
  *) echo "usage: scripts/build.sh [normal|asan]" >&2; exit 2 ;;
esac
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir"
