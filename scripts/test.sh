#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: in a normal
# build and in an AddressSanitizer + UndefinedBehaviorSanitizer build that stops
# at the first error. Then runs each fuzz target for 20 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for variant in normal asan; do
  echo "== $variant build"
  bash scripts/build.sh "$variant"
  dir=build; [[ $variant == asan ]] && dir=build-asan
  ctest --test-dir "$dir" --output-on-failure -j2
done
echo "== fuzz"
bash scripts/fuzz.sh 20
