#!/usr/bin/env bash
# Times a whole JMA best-track archive on one map with `tcmap draw` and
# `tcmap list` of it, and prints medians. Only one year of the archive is at
# hand (bst_2018.txt, 29 storms), so a file of the whole archive's size is
# made from it: the year copied 62 times (1 798 storms), each copy moved to
# another year (1951 to 2012) with its storms' international numbers to
# match. Warm runs: an untimed first run fills the map cache.
#
# Usage: bench/jma_archive.sh [repetitions] [bst_2018.txt]
#   (defaults 5 and ../shared/data/archives/jma/bst_2018.txt; build first
#   with scripts/build.sh normal). Timings mean little while other builds run.
set -euo pipefail
cd "$(dirname "$0")/.."
repetitions=${1:-5}
year=${2:-}
for shared in ../shared ../../shared; do
  candidate=$shared/data/archives/jma/bst_2018.txt
  [[ -z $year && -e $candidate ]] && year=$candidate
done
[[ -n $year && -f $year ]] || { echo "missing bst_2018.txt" >&2; exit 2; }
[[ -x build/run/tcmap ]] || { echo "missing build/run/tcmap: run scripts/build.sh normal" >&2; exit 2; }
uptime
work=$(mktemp -d "${TMPDIR:-/tmp}/tcmap-jma-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
python3 - "$repetitions" "$work" "$(realpath "$year")" <<'PYTHON'
import os, statistics, subprocess, sys, time

reps, work, source = int(sys.argv[1]), sys.argv[2], sys.argv[3]
env = dict(os.environ, XDG_CACHE_HOME=os.path.join(work, "cache"))
tcmap = os.path.abspath("build/run/tcmap")

def full_year(yy):  # the archive's two-digit years: 51-99 are 19xx
    return 1900 + yy if yy >= 51 else 2000 + yy

def moved(yy_text, delta):
    return "%02d" % ((full_year(int(yy_text)) + delta) % 100)

lines = open(source, encoding="ascii").read().splitlines()
out = []
for copy in range(62):
    delta = (1951 + copy) - 2018
    for line in lines:
        if line.startswith("66666"):
            number = line[6:10]
            new = moved(number[:2], delta) + number[2:]
            out.append(line.replace(number, new))
        else:
            out.append(moved(line[:2], delta) + line[2:])
big = os.path.join(work, "bst_all.txt")
with open(big, "w", encoding="ascii") as f:
    f.write("\n".join(out) + "\n")
storms = sum(1 for line in out if line.startswith("66666"))
print(f"made {big}: {len(out)} rows, {storms} storms")

def median_seconds(command):
    subprocess.run(command, env=env, check=True, capture_output=True)  # warm
    times = []
    for _ in range(reps):
        start = time.perf_counter()
        subprocess.run(command, env=env, check=True, capture_output=True)
        times.append(time.perf_counter() - start)
    return statistics.median(times)

rows = [
    ("draw: the whole archive on one map (target 1.5 s)",
     median_seconds([tcmap, "draw", "-o", os.path.join(work, "all.png"), big])),
    ("list: the whole archive (target 0.3 s)", median_seconds([tcmap, "list", big])),
]
for name, seconds in rows:
    print(f"{name:52s} {seconds * 1000:8.1f} ms (median of {reps})")
PYTHON
