#!/usr/bin/env bash
# Times one map per storm of the 2023 eastern-Pacific HURDAT2 archive
# (1 227 storms) with `tcmap draw --each`, beside the same maps drawn the old
# way (one `tcmap ~nogui` process per storm, chosen with [Archive] Storms, two
# at a time) and beside the floor (one map decode, and a PNG encode of each
# map, spread over the threads); and `tcmap list` of the archive.
#
# Usage: bench/each_targets.sh [repetitions] [old-way sample]
#   (defaults 3 and 60; build first with scripts/build.sh normal). The old way
#   runs on an evenly spread sample of storms and is scaled to all of them.
#   Runs from a private copy of build/run with its own cache folder.
set -euo pipefail
cd "$(dirname "$0")/.."
repetitions=${1:-3}
sample=${2:-60}
# The shared data folder beside the repository (or beside its worktree folder).
archive=${TCMAP_BENCH_ARCHIVE:-}
for shared in ../shared ../../shared; do
  candidate=$shared/data/archives/hurdat2-nepac-1949-2023-042624.txt
  [[ -z $archive && -e $candidate ]] && archive=$candidate
done
archive=${archive:-missing-archive}
for need in build/run/tcmap build/bench/map_floor "$archive"; do
  [[ -e $need ]] || { echo "missing $need: run scripts/build.sh normal" >&2; exit 2; }
done
uptime
work=$(mktemp -d "${TMPDIR:-/tmp}/tcmap-each-XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r build/run "$work/run"
exec python3 - "$repetitions" "$sample" "$work" "$(realpath "$archive")" "$PWD" <<'PYTHON'
import csv, io, os, shutil, statistics, subprocess, sys, time

reps, sample, work, archive, root = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5]
tcmap = os.path.join(work, "run", "tcmap")
env = dict(os.environ, XDG_CACHE_HOME=os.path.join(work, "cache"), LANG="C.UTF-8")
env.pop("TCMAP_NO_CACHE", None)
threads = 2

def timed(args, **kw):
    start = time.monotonic()
    subprocess.run(args, env=env, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, **kw)
    return time.monotonic() - start

def median_of(fn):
    return statistics.median(fn() for _ in range(reps))

listing = subprocess.run([tcmap, "list", "--csv", archive], env=env, check=True,
                         capture_output=True, text=True).stdout
ids = [row["id"] for row in csv.DictReader(io.StringIO(listing))]
storms = len(ids)

def each_run():
    out = os.path.join(work, "each")
    shutil.rmtree(out, ignore_errors=True)
    return timed([tcmap, "draw", archive, "--each", out + "/{year}/{id}.png", "-j", str(threads),
                  "--index", os.path.join(work, "maps.csv")])

each_run()  # the map cache file exists from here on, as for any later run
each = median_of(each_run)

# The old way: one process per storm, two at a time, on a spread sample.
picked = ids[:: max(1, storms // sample)][:sample]
def old_run():
    settings = os.path.join(work, "old-%d.ini")
    procs, start = [], time.monotonic()
    for i, storm in enumerate(picked):
        path = settings % i
        with open(path, "w") as f:
            f.write("[Archive]\nStorms=%s\n" % storm)
        procs.append(subprocess.Popen([tcmap, "~nogui", path, os.path.join(work, "old-%d.png" % i),
                                       archive], env=env, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL))
        while sum(p.poll() is None for p in procs) >= threads:
            time.sleep(0.002)
    for p in procs:
        p.wait()
    return (time.monotonic() - start) * storms / len(picked)
old = median_of(old_run)

# Floor: one decode of the map, and each map's PNG encode, over the threads.
encodes = []
maps = sorted(os.path.join(d, f) for d, _, fs in os.walk(os.path.join(work, "each")) for f in fs)
for path in maps[:: max(1, len(maps) // 20)]:
    words = subprocess.run([os.path.join(root, "build", "bench", "map_floor"),
                            os.path.join(work, "run", "maps", "world.png"), path, "3"],
                           check=True, capture_output=True, text=True).stdout.split()
    encodes.append(float(words[3]) / 1000)
    decode = float(words[1]) / 1000
floor = decode + statistics.mean(encodes) * storms / threads

lst = median_of(lambda: timed([tcmap, "list", archive]))

print("%d storms of %s, %d threads, medians of %d runs" % (storms, os.path.basename(archive),
                                                             threads, reps))
print("%-52s %9s" % ("run", "wall"))
print("%-52s %8.2fs  target <= 45 s" % ("draw --each (map cache warm)", each))
print("%-52s %8.2fs  (%d-storm sample scaled)" % ("old way: one ~nogui process per storm, 2 at once",
                                                 old, len(picked)))
print("%-52s %8.2fs" % ("floor: 1 map decode + each PNG encode / %d" % threads, floor))
print("%-52s %8.3fs  target <= 0.3 s" % ("list of the archive", lst))
PYTHON
