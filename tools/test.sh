#!/usr/bin/env bash
# Builds everything twice (plain, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs the whole test suite on both builds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --browser
jobs=$(nproc)
for variant in release asan; do
  dir=build-test-$variant
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
  [ "$variant" = asan ] && flags=(-DCMAKE_BUILD_TYPE=Debug -DVRML_SANITIZE=ON)
  cmake -S . -B "$dir" "${flags[@]}" >/dev/null
  cmake --build "$dir" -j"$jobs"
  echo "== tests: $variant build"
  # The corpus beside the repository must be there: its tests fail instead of skipping.
  (cd "$dir" && VRML_REQUIRE_CORPUS=1 ctest --output-on-failure -j"$jobs")
done
# A short pass of every fuzz target (clang build in build-fuzz/).
echo "== fuzz: 30 s per target"
bash tools/fuzz.sh 30
