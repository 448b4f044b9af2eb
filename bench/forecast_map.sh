#!/usr/bin/env bash
# Times whole `tcmap draw` runs of the forecaster's map and prints medians:
# the cone and model spaghetti of the latest cycle of Otis's a-deck
# (aep182023.dat, 4.4 MB), and what Sandy's wind swath adds to a map of its
# best track. Warm runs: the map cache is filled by an untimed first run.
#
# Usage: bench/forecast_map.sh [repetitions] [folder of aep182023.dat and
#        bal182012.dat]   (defaults 7 and ../shared/data/atcf; build first with
#        scripts/build.sh normal). Timings mean little while other builds run.
set -euo pipefail
cd "$(dirname "$0")/.."
repetitions=${1:-7}
data=${2:-../shared/data/atcf}
[[ -x build/run/tcmap ]] || { echo "missing build/run/tcmap: run scripts/build.sh normal" >&2; exit 2; }
for f in aep182023.dat bal182012.dat; do
  [[ -f $data/$f ]] || { echo "missing $data/$f" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/tcmap-forecast-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
exec python3 - "$repetitions" "$work" "$data" <<'PYTHON'
import os, statistics, subprocess, sys, time

reps, work, data = int(sys.argv[1]), sys.argv[2], sys.argv[3]
env = dict(os.environ, XDG_CACHE_HOME=os.path.join(work, "cache"))
tcmap = os.path.abspath("build/run/tcmap")

def median_seconds(args):
    command = [tcmap, "draw", "--style", "tcv", "-o", os.path.join(work, "out.png")] + args
    subprocess.run(command, env=env, check=True, capture_output=True)  # fills the cache
    times = []
    for _ in range(reps):
        start = time.perf_counter()
        subprocess.run(command, env=env, check=True, capture_output=True)
        times.append(time.perf_counter() - start)
    return statistics.median(times)

otis = os.path.join(data, "aep182023.dat")
sandy = os.path.join(data, "bal182012.dat")
rows = [
    ("otis latest cycle: cone + spaghetti", median_seconds([otis, "--cone"])),
    ("sandy best track, no swath", median_seconds([sandy, "--no-swath"])),
    ("sandy best track with swath", median_seconds([sandy, "--swath"])),
]
for name, seconds in rows:
    print(f"{name:40s} {seconds * 1000:8.1f} ms (median of {reps})")
print(f"{'swath adds':40s} {(rows[2][1] - rows[1][1]) * 1000:8.1f} ms")
PYTHON
