#!/usr/bin/env bash
# Times the batch runs the performance targets are set for and prints one row
# per target: medians of whole `tcmap ~nogui` runs, cold (no map cache) and
# warm (cache file present), beside the floor measured in the same run (map
# decode + PNG encode of the job's own output picture).
#
# Usage: bench/run_targets.sh [repetitions]     (default 5; build first with
#        scripts/build.sh normal). Runs from a private copy of build/run with
#        its own cache folder, so neither the build nor ~/.cache is touched.
set -euo pipefail
cd "$(dirname "$0")/.."
repetitions=${1:-5}
for need in build/run/tcmap build/bench/map_floor; do
  [[ -x $need ]] || { echo "missing $need: run scripts/build.sh normal" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/tcmap-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
# -p keeps the map picture's time: a just-copied map is too new to be cached.
cp -rp build/run "$work/run"
exec python3 - "$repetitions" "$work" "$PWD" <<'PYTHON'
import os, random, shutil, statistics, struct, subprocess, sys

reps, work, root = int(sys.argv[1]), sys.argv[2], sys.argv[3]
run = os.path.join(work, "run")
tcmap = os.path.join(run, "tcmap")
world = os.path.join(run, "maps", "world.png")
wendrel = os.path.join(root, "samples", "wendrel.ini")
tcv = os.path.join(root, "samples", "tcv.ini")
ian = [os.path.join(root, "bench", "data", "bal092022.dat")]
season_dir = os.path.join(root, "bench", "data", "atlantic-2021-2022")
season = sorted(os.path.join(season_dir, f) for f in os.listdir(season_dir))
forecast = [os.path.join(root, "bench", "data", "aal182012.fst")]

# 200 000 fixes of made-up storms: 2000 tracks of 100 six-hourly fixes.
many = os.path.join(work, "bal992099.dat")
rng = random.Random(14)
with open(many, "w") as out:
    for storm in range(2000):
        lat, lon, wind = rng.uniform(10, 30), rng.uniform(20, 90), 25
        for step in range(100):
            day, hour = divmod(step * 6, 24)
            stamp = "2099%02d%02d%02d" % (1 + storm % 12, 1 + day % 28, hour)
            wind = max(20, min(150, wind + rng.randint(-10, 12)))
            out.write("AL, %02d, %s,   , BEST,   0, %dN, %dW, %d, 990, TS, \n"
                      % (storm % 100, stamp, lat * 10, lon * 10, wind))
            lat = min(60, lat + rng.uniform(-0.2, 0.8))
            lon = max(0.5, min(110, lon + rng.uniform(-1.0, 0.6)))

cache_home = os.path.join(work, "cache")
out_png = os.path.join(work, "out.png")

def one_run(settings, files, cache):
    env = dict(os.environ, XDG_CACHE_HOME=cache_home)
    env.pop("TCMAP_NO_CACHE", None)
    if not cache:
        env["TCMAP_NO_CACHE"] = "1"
    start = os.times().elapsed
    proc = subprocess.Popen([tcmap, "~nogui", settings, out_png] + files, env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = os.times().elapsed - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("tcmap failed: %s" % " ".join(files[:1]))
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss * 1024

# warm: the cache file exists; first: the run that builds it; off: TCMAP_NO_CACHE=1.
def measure(settings, files, how):
    runs = []
    if how == "warm":
        one_run(settings, files, True)
    for _ in range(reps):
        if how == "first":
            shutil.rmtree(cache_home, ignore_errors=True)
        runs.append(one_run(settings, files, how != "off"))
    return tuple(statistics.median(r[i] for r in runs) for i in range(3))

def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    return struct.unpack(">II", head[16:24])

def floor_s():
    text = subprocess.run([os.path.join(root, "build", "bench", "map_floor"), world, out_png,
                           str(reps)], check=True, capture_output=True, text=True).stdout.split()
    return (float(text[1]) + float(text[3])) / 1000, (float(text[5]) + float(text[7])) / 1000

print("tcmap targets: medians of %d runs each (wall s, CPU s = user + system); floor ="
      " map decode + PNG encode of the run's own output, measured right after it" % reps)
print("%-36s %8s %8s %8s %8s %8s %8s" % ("run", "wall", "CPU", "floor", "CPUfloor",
                                         "wall/fl", "CPU/fl"))

def row(name, settings, files, how, target):
    wall, cpu, rss = measure(settings, files, how)
    floor, cpu_floor = floor_s()
    print("%-36s %7.3fs %7.3fs %7.3fs %7.3fs %7.2fx %7.2fx  target %s"
          % (name, wall, cpu, floor, cpu_floor, wall / floor, cpu / cpu_floor, target))
    return rss

rss = row("Ian, Wendrel, warm", wendrel, ian, "warm", "wall <= 0.10 s")
w, h = png_size(out_png)
row("Ian, Wendrel, cold (cache off)", wendrel, ian, "off", "<= 1.2 x floor")
row("Ian, Wendrel, first run (builds it)", wendrel, ian, "first", "<= 1.2 x floor")
row("37 storms, Wendrel, warm", wendrel, season, "warm", "wall <= 0.20 s")
row("37 storms, Wendrel, cold (cache off)", wendrel, season, "off", "<= 1.2 x floor")
row("aal182012.fst, TCV, warm", tcv, forecast, "warm", "CPU <= 1.0 s")
row("aal182012.fst, TCV, cold (cache off)", tcv, forecast, "off", "CPU <= 1.0 s")
row("200 000 fixes, Wendrel, warm", wendrel, [many], "warm", "CPU <= 0.6 s")
row("200 000 fixes, Wendrel, cold", wendrel, [many], "off", "CPU <= 0.6 s")
limit = 3 * w * h * 4 + 40 * 2**20
print("%-34s %8.1f MB (output %dx%d: limit %.1f MB)" % ("peak memory, Ian, warm", rss / 2**20,
                                                       w, h, limit / 2**20))
PYTHON
