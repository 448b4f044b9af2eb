#!/usr/bin/env bash
# Measures what the hostile but legal inputs of make_inputs.py cost: wall and
# CPU time and peak memory of one batch run each, from a private copy of the
# run folder of build/ (or the build folder given). Needs /usr/bin/time.
#   bench/hostile/run.sh [build folder] [case...]   cases: picture grid map
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
shift || true
cases=("${@:-picture grid map}")
work=$(mktemp -d /tmp/tcmap-hostile-XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$build/run" "$work/run"
python3 bench/hostile/make_inputs.py "$work/inputs"
cp "$work/inputs/maps/huge_map.png" "$work/run/maps/"

# measure <name> <settings> <track files...>
measure() {
  local name=$1 settings=$2
  shift 2
  local status=0
  /usr/bin/time -v "$work/run/tcmap" ~nogui "$settings" "$work/$name.png" "$@" \
    >"$work/$name.out" 2>"$work/$name.time" || status=$?
  printf '%-8s exit %d  wall %s  user %ss  sys %ss  peak %s MB  output %s bytes\n' "$name" \
    "$status" "$(grep -F 'Elapsed (wall' "$work/$name.time" | awk '{print $NF}')" \
    "$(grep -F 'User time' "$work/$name.time" | awk '{print $NF}')" \
    "$(grep -F 'System time' "$work/$name.time" | awk '{print $NF}')" \
    "$(( $(grep -F 'Maximum resident' "$work/$name.time" | awk '{print $NF}') / 1024 ))" \
    "$(stat -c %s "$work/$name.png" 2>/dev/null || echo 0)"
}

for c in ${cases[*]}; do
  case "$c" in
    picture) measure picture "$work/inputs/huge_picture.ini" "$work/inputs/storm.dat" ;;
    grid)
      cp "$work/run/GridData" "$work/GridData.saved"
      cp "$work/inputs/GridData.hostile" "$work/run/GridData"
      measure grid "$work/inputs/grid.ini" "$work/inputs/storm.dat"
      cp "$work/GridData.saved" "$work/run/GridData" ;;
    map) measure map "$work/inputs/huge_map.ini" "$work/inputs/storm.dat" ;;
  esac
done
