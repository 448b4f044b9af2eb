#!/usr/bin/env bash
# Installs what is missing, builds tcmap and draws the sample maps of both
# render styles into out/samples/, printing the path of every map.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/setup.sh
bash scripts/build.sh normal

tcmap=$root/build/run/tcmap
out=$root/out/samples
mkdir -p "$out"
season=("$root"/samples/bwp*2014.dat)
drawn=()
failed=0

# draw <output name> <settings file> <track files...>
draw() {
  local name=$1 settings=$2
  shift 2
  echo "== $name"
  if "$tcmap" ~nogui "$root/samples/$settings" "$out/$name" "$@" 2>"$out/${name%.*}.log"; then
    drawn+=("$out/$name")
  else
    echo "demo: $name was not drawn; see $out/${name%.*}.log and $out/$name" >&2
    failed=1
  fi
}

draw season2014-wendrel.png wendrel.ini "${season[@]}"
draw season2014-tcv.png tcv.ini "${season[@]}"
draw sandy2012-radii.png radii.ini "$root/samples/bal182012.dat"
draw harvey2017-forecast-tcv.png tcv.ini "$root/samples/43.bal092017.dat" \
  "$root/samples/21.al092017.fst"
draw season2015-hurdat2.png archive-season.ini "$root/samples/hurdat2-nepac-2015.txt"
draw lekima2019-cma-tcv.png cma-typhoon.ini "$root/samples/CH2019BST.txt"
# The same maps as vectors: paths and text over the embedded map picture.
draw season2014-tcv.pdf tcv.ini "${season[@]}"
draw sandy2012-radii.svg radii.ini "$root/samples/bal182012.dat"

echo
echo "Sample maps:"
printf '  %s\n' "${drawn[@]}"
exit "$failed"
