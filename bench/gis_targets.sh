#!/usr/bin/env bash
# Times the GeoJSON of the whole 2023 eastern-Pacific HURDAT2 archive (1 227
# storms, 31 180 fixes) written by batch mode, beside the PNG of the same job,
# so the cost of the GIS writing stands apart from reading and drawing; and the
# size of the other GIS files of the job.
#
# Usage: bench/gis_targets.sh [repetitions]   (default 5; build first with
#   scripts/build.sh normal). Runs from a private copy of build/run. Medians
#   mean something only on a quiet machine: `uptime` is printed first.
set -euo pipefail
cd "$(dirname "$0")/.."
repetitions=${1:-5}
archive=${TCMAP_BENCH_ARCHIVE:-}
for shared in ../shared ../../shared; do
  candidate=$shared/data/archives/hurdat2-nepac-1949-2023-042624.txt
  [[ -z $archive && -e $candidate ]] && archive=$candidate
done
archive=${archive:-missing-archive}
for need in build/run/tcmap "$archive"; do
  [[ -e $need ]] || { echo "missing $need: run scripts/build.sh normal" >&2; exit 2; }
done
uptime
work=$(mktemp -d "${TMPDIR:-/tmp}/tcmap-gis-XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r build/run "$work/run"
exec python3 - "$repetitions" "$work" "$(realpath "$archive")" <<'PYTHON'
import os, re, statistics, subprocess, sys, time

reps, work, archive = int(sys.argv[1]), sys.argv[2], sys.argv[3]
tcmap = os.path.join(work, "run", "tcmap")
settings = os.path.join(work, "run", "Settings.ini")
env = dict(os.environ, LANG="C.UTF-8", TCMAP_TIMINGS="1")

def run(out):
    start = time.monotonic()
    done = subprocess.run([tcmap, "~nogui", settings, os.path.join(work, out), archive],
                          env=env, capture_output=True, text=True)
    wall = time.monotonic() - start
    if done.returncode != 0:
        sys.exit(f"{out}: tcmap failed:\n{done.stderr}")
    save = re.search(r"tcmap timing: save ([0-9.e+]+) ms", done.stderr)
    return wall, float(save.group(1)) / 1000 if save else float("nan")

for out in ["season.png", "season.geojson"]:
    runs = [run(out) for _ in range(reps)]
    print(f"{out:16s} whole run median {statistics.median(w for w, _ in runs):.3f} s, "
          f"writing median {statistics.median(s for _, s in runs):.3f} s ({reps} runs)")
print(f"season.geojson   {os.path.getsize(os.path.join(work, 'season.geojson')) / 1e6:.1f} MB")
for out in ["season.kmz", "season.gpkg", "season.shp.zip"]:
    wall, save = run(out)
    print(f"{out:16s} writing {save:.3f} s, {os.path.getsize(os.path.join(work, out)) / 1e6:.1f} MB")
PYTHON
