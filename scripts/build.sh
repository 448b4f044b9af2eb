#!/usr/bin/env bash
# Configures and builds one build tree: scripts/build.sh [normal|asan|tsan|nogui]
#   normal  build/        the program, its tests and benchmarks
#   asan    build-asan/   the same with AddressSanitizer and UBSan, no benchmarks
#   tsan    build-tsan/   without Qt, with ThreadSanitizer: the core libraries,
#                         batch mode and their tests
#   nogui   build-nogui/  without Qt: the core libraries, batch mode and their tests
set -euo pipefail
cd "$(dirname "$0")/.."
variant=${1:-normal}
common=(-DTCMAP_WERROR=ON)
case "$variant" in
  normal) dir=build; flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan)   dir=build-asan; flags=(-DCMAKE_BUILD_TYPE=Debug -DTCMAP_SANITIZE=ON -DTCMAP_BENCH=OFF) ;;
  tsan)   dir=build-tsan; flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTCMAP_SANITIZE=thread -DTCMAP_GUI=OFF -DTCMAP_BENCH=OFF) ;;
  nogui)  dir=build-nogui; flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTCMAP_GUI=OFF -DTCMAP_BENCH=OFF) ;;
  *) echo "usage: scripts/build.sh [normal|asan|tsan|nogui]" >&2; exit 2 ;;
esac
if command -v ccache >/dev/null 2>&1; then
  flags+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja "${common[@]}" "${flags[@]}" >/dev/null
cmake --build "$dir"
