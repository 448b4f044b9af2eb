#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ in build-fuzz/ (clang, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for the given seconds (default 20),
# seeded with the project's real files and every input that ever broke a
# reader (tests/data/errors/). Fails when any target finds a crash, a leak or
# an input that hangs; what it found is kept under build-fuzz/artifacts/.
#   scripts/fuzz.sh [seconds] [target ...]   (targets: fuzz/<target>_fuzz.cpp; default all)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-20}
shift $(( $# > 0 ? 1 : 0 ))
only=("$@")
bash scripts/setup.sh

dir=build-fuzz
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTCMAP_FUZZ=ON -DTCMAP_GUI=OFF -DTCMAP_TESTS=OFF
       -DTCMAP_BENCH=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
if command -v ccache >/dev/null 2>&1; then
  flags+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" --target tcmap_fuzz_targets

# seeds <target> -> the files its corpus starts from
seeds() {
  case "$1" in
    best_track|forecast|wind_radii|track_file)
      ls tests/data/track/atcf/* tests/data/batch/* samples/*.dat samples/*.fst ;;
    profile_store) ls samples/*.ini data/Settings.ini data/Language.ini ;;
    language_pack|safe_format) ls data/*.lang ;;
    hurdat2_archive) ls tests/data/archives/hurdat2-* samples/hurdat2-* ;;
    ibtracs_archive) ls tests/data/archives/ibtracs-* ;;
    cma_archive) ls tests/data/archives/cma-* samples/CH2019BST.txt ;;
    grid_data) ls data/GridData ;;
    archive) ls tests/data/archives/* ;;
    map_cache) printf '\0\0\0\0\0' > "$dir/seeds/map_cache.empty"; ls "$dir/seeds/map_cache.empty" ;;
    png_decoder) ls tests/data/pictures/*.png ;;
    jpeg_decoder) ls tests/data/pictures/*.jpg ;;
    bmp_decoder) python3 fuzz/make_bmp_seeds.py "$dir/seeds/bmp_decoder" ;;
    vector_world) python3 fuzz/make_vector_world_seeds.py "$dir/seeds/vector_world" ;;
    jma_archive) ls tests/data/archives/jma-*.txt tests/data/archives/cma-*.txt ;;
  esac
  local errors=tests/data/errors/$1
  if [[ -d $errors ]]; then ls "$errors"/*; fi
}

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0

failed=()
for source in fuzz/*_fuzz.cpp; do
  name=$(basename "$source" _fuzz.cpp)
  if (( ${#only[@]} > 0 )) && [[ " ${only[*]} " != *" $name "* ]]; then continue; fi
  target=$dir/fuzz/tcmap_${name}_fuzz
  corpus=$dir/corpus/$name
  seed_dir=$dir/seeds/$name
  artifacts=$dir/artifacts/$name
  mkdir -p "$corpus" "$seed_dir" "$artifacts"
  while read -r seed; do
    [[ -f $seed ]] && cp "$seed" "$seed_dir/"
  done < <(seeds "$name")
  echo "== fuzz $name (${seconds}s)"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" "$seed_dir" \
      >"$dir/$name.log" 2>&1; then
    failed+=("$name")
    tail -n 40 "$dir/$name.log" >&2
    echo "fuzz: $name failed; the input is in $artifacts/, the log in $dir/$name.log" >&2
  else
    grep -E '^stat::number_of_executed_units' "$dir/$name.log" || true
  fi
done

if (( ${#failed[@]} > 0 )); then
  echo "fuzz: failures in ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: every target ran ${seconds}s without a fault"
