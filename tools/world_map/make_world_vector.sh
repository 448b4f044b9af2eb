#!/bin/sh
# Regenerates data/maps/world_vector.bin, the land and country borders that
# vector maps draw as paths, from Natural Earth 1:10m. Needs Node.js and npm;
# building or running tcmap does not.
# usage: tools/world_map/make_world_vector.sh [tolerance in degrees]   (default 0.01)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

cd "$here"
npm ci --no-audit --no-fund
mkdir -p "$root/data/maps"
node extract_world_vector.js "$root/data/maps/world_vector.bin" "$@"
