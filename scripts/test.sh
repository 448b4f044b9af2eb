#!/usr/bin/env bash
# Installs what is missing, checks the layers' include rules, then builds and
# runs every test three times: a normal build, an AddressSanitizer +
# UndefinedBehaviorSanitizer build that stops at the first error, and a
# ThreadSanitizer build without Qt (the core libraries and batch mode only)
# that stops at the first race. Then runs each fuzz target for 20 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

echo "== layers"
python3 scripts/check_layers.py

for variant in normal asan tsan; do
  echo "== $variant build"
  bash scripts/build.sh "$variant"
  dir=build; [[ $variant != normal ]] && dir=build-$variant
  if [[ $variant == normal ]]; then
    # The drawing of the targets' dependencies must hold no cycle either.
    rm -rf "$dir/graph" && mkdir -p "$dir/graph"
    cmake --graphviz="$dir/graph/tcmap.dot" "$dir" >/dev/null
    python3 scripts/check_layers.py --dot "$dir/graph/tcmap.dot"
  fi
  ctest --test-dir "$dir" --output-on-failure -j2
done
echo "== fuzz"
bash scripts/fuzz.sh 20
