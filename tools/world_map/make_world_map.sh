#!/bin/sh
# Regenerates data/maps/world.png from the Natural Earth land polygons.
# usage: tools/world_map/make_world_map.sh [build folder]   (default: build)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-"$root/build"}

cd "$here"
npm ci --no-audit --no-fund
node extract_land_rings.js "$here/land_rings.txt"

if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target render_world_map
mkdir -p "$root/data/maps"
"$build/render_world_map" "$here/land_rings.txt" "$root/data/maps/world.png"
