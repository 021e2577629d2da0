#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz/ and runs them one after the
# other, each for SECONDS (default 60), at the lowest priority.
#   tools/fuzz.sh [--jobs N] [SECONDS_PER_TARGET] [TARGET...]
# targets: dxf_text dxf_binary lisp facet acis; with --jobs, up to N of them run
# at once (one per core).
# Each run appends "date target seconds executions result" to
# fuzz/executions.log; an input that breaks a target is kept in
# fuzz/regressions/<target>/ (the platform tests replay those). Exits 1 when
# any run found something.
#   tools/fuzz.sh --merge [TARGET...]   shrinks each target's corpus to the
# inputs that add coverage (dropping any that time out); a smaller corpus
# loads faster at the start of every run. Nothing is logged.
set -uo pipefail
cd "$(dirname "$0")/.."
merge=0
jobs=1
[ "${1:-}" = --jobs ] && { jobs=$2; shift 2; }
[ "${1:-}" = --merge ] && { merge=1; shift; set -- 0 "$@"; }
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(dxf_text dxf_binary lisp facet acis)

for target in "${targets[@]}"; do
  case $target in
    dxf_text | dxf_binary | lisp | facet | acis) ;;
    *) echo "unknown target $target"; exit 2 ;;
  esac
done

build=build-fuzz
CC=clang-14 CXX=clang++-14 cmake -S . -B $build -DVRML_FUZZ=ON >/dev/null || exit 2
nice -n 19 cmake --build $build -j1 >$build/build.log 2>&1 || { cat $build/build.log; exit 2; }

corpus=../shared/corpus/dxf
# The binary target adds the sentinel itself: its seeds are the binary
# drawings of the corpus without it.
binary_seeds=$build/seeds/dxf_binary
mkdir -p $binary_seeds
for file in "$corpus"/*.dxf; do
  if [ "$(head -c 18 "$file")" = "AutoCAD Binary DXF" ]; then
    tail -c +23 "$file" | head -c 4096 >"$binary_seeds/$(basename "$file" .dxf).bin"
  fi
done
# The test drawings, gathered from their folders.
text_seeds=$build/seeds/dxf_text
mkdir -p $text_seeds
cp tests/data/*/*.dxf $text_seeds/

# Allocation stacks of five frames instead of thirty: every fault is still
# caught, reports name fewer callers, and each allocation costs less.
export ASAN_OPTIONS="malloc_context_size=5${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
# Inputs that take long to run get less of the fuzzer's attention in favour
# of quick ones; without it a few huge nested block arrays slowed the
# facetter's target from thousands of runs a second to fifty.
common=(-entropic_scale_per_exec_time=1 -timeout=10 -print_final_stats=1)

# Runs one target; returns 1 when it found something.
fuzzTarget() {
  local target=$1 options seeds work regressions log started status elapsed executions result artifact
  case $target in
    dxf_text) options=(-dict=fuzz/dxf.dict -max_len=4096); seeds=(fuzz/seeds/dxf_text $text_seeds "$corpus") ;;
    dxf_binary) options=(-dict=fuzz/dxf.dict -max_len=4096); seeds=(fuzz/seeds/dxf_binary $binary_seeds) ;;
    # The interpreter keeps the symbols an input interns and its cells until a
    # collection is due, by design: leaks are checked at exit, not per input.
    lisp) options=(-dict=fuzz/lisp.dict -max_len=4096 -detect_leaks=0); seeds=(fuzz/seeds/lisp) ;;
    facet) options=(-max_len=4096); seeds=() ;;
    # Payloads of the corpus run to a dozen kilobytes; the test solids beside them.
    acis) options=(-dict=fuzz/acis.dict -max_len=16384); seeds=(fuzz/seeds/acis tests/data/acis) ;;
  esac
  work=$build/corpus/$target
  regressions=fuzz/regressions/$target
  mkdir -p "$work" "$regressions"
  log=$build/$target.log
  if [ $merge = 1 ]; then
    rm -rf "$work.merged" && mkdir "$work.merged"
    nice -n 19 $build/bin/fuzz_$target "${options[@]}" -timeout=10 -merge=1 "$work.merged" "$work" >"$log" 2>&1 &&
      rm -rf "$work" && mv "$work.merged" "$work"
    echo "$target: $(ls "$work" | wc -l) inputs kept"
    return 0
  fi
  started=$SECONDS
  nice -n 19 $build/bin/fuzz_$target "${options[@]}" "${common[@]}" -max_total_time="$seconds" \
    -artifact_prefix="$regressions/" "$work" "${seeds[@]}" >"$log" 2>&1
  status=$?
  # A run that finds something stops early: log the time it really took.
  elapsed=$((SECONDS - started))
  executions=$(awk '/stat::number_of_executed_units/ {print $2}' "$log" | tail -1)
  result=ok
  if [ $status -ne 0 ]; then
    artifact=$(grep -o "Test unit written to [^ ]*" "$log" | tail -1 | sed 's/.* //')
    result="found:${artifact:-exit-$status}"
    grep -E "^(==[0-9]+==ERROR|SUMMARY|$target: )" "$log" | head -5
  fi
  echo "$target: ${executions:-0} executions in ${elapsed} s, $result"
  echo "$(date -u +%Y-%m-%dT%H:%M:%SZ) $target $elapsed ${executions:-0} $result" >>fuzz/executions.log
  [ "$result" = ok ]
}

found=0
running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || found=1
    running=$((running - 1))
  fi
  fuzzTarget "$target" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || found=1
  running=$((running - 1))
done
exit $found
