#!/bin/bash
# Whole-process export timing: generates large drawings, times the batch
# export on each with /usr/bin/time -v and prints faces/s, MB/s and peak
# memory for 10k, 100k and 1M faces side by side. Each shape is written
# twice: by `dxfgen` and, for R2000, by an independent DXF library (python3
# with ezdxf, bench/gen/ezdxf_drawing.py), whose files are laid out
# differently. When `assimp` is on PATH it is timed on the polyface and
# 3D face drawings in the same run.
#
# usage: bench/run_export_bench.sh [BUILD_DIR] [SCRATCH_DIR]
#   BUILD_DIR    a Release build with -DVRML_BENCH=ON (default: build-rel)
#   SCRATCH_DIR  where drawings and results go (default: a new temp dir,
#                removed at the end)
#   RELEASES     environment: "r2000" (default) or "r12 r2000"
#   SIZES        environment: face counts (default: "10000 100000 1000000")
#   WRITERS      environment: "dxfgen ezdxf" (default), or either alone
#
# The library's drawings take minutes to write at 1M faces: with a
# SCRATCH_DIR they are kept there and reused by the next run.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build-rel}" && pwd)
dxfgen=$build/bin/dxfgen
vrmlout=$build/bin/vrmlout
for tool in "$dxfgen" "$vrmlout" /usr/bin/time; do
  [[ -x $tool ]] || { echo "missing $tool (build with -DVRML_BENCH=ON)" >&2; exit 2; }
done
if [[ -n ${2:-} ]]; then
  scratch=$2
  mkdir -p "$scratch"
else
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
fi
releases=${RELEASES:-r2000}
sizes=${SIZES:-10000 100000 1000000}
writers=${WRITERS:-dxfgen ezdxf}
ezdxf_script=$root/bench/gen/ezdxf_drawing.py
assimp=$(command -v assimp || true)

# Runs a command under /usr/bin/time -v; prints "seconds peak_kB exit_code".
timed() {
  local log=$scratch/time.log status=0
  /usr/bin/time -v -o "$log" "$@" > "$scratch/run.out" 2>&1 || status=$?
  awk -v status="$status" '
    /Elapsed \(wall clock\)/ {
      n = split($NF, part, ":"); s = 0
      for (i = 1; i <= n; ++i) s = s * 60 + part[i]
    }
    /Maximum resident set size/ { rss = $NF }
    END { printf "%.3f %d %d\n", s, rss, status }' "$log"
}

# The faces a mesh drawing really holds: the generator rounds to a square grid.
faces_of() {
  local shape=$1 faces=$2
  if [[ $shape == mesh ]]; then
    awk -v f="$faces" 'BEGIN { s = int(sqrt(f) + 0.5); print s * s }'
  else
    echo "$faces"
  fi
}

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) at start"
printf '%-9s %-13s %9s %9s %8s %8s %12s %9s %9s %s\n' shape dxf faces in_MB gen_s export_s faces/s MB/s peak_MB note
results=$scratch/results.txt
: > "$results"
for writer in $writers; do
 for release in $releases; do
  [[ $writer == dxfgen || $release == r2000 ]] || continue
  for shape in polyface 3dface mesh; do
    for size in $sizes; do
      dxf=$scratch/${writer}_${shape}_${release}_${size}.dxf
      wrl=$scratch/${shape}_${release}_${size}.wrl
      if [[ $writer == dxfgen ]]; then
        read -r gen_s _ gen_status < <(timed "$dxfgen" "$shape" "$size" "$release" "$dxf")
      elif [[ -s $dxf && -n ${2:-} ]]; then
        gen_s=0 gen_status=0  # kept from an earlier run
      else
        read -r gen_s _ gen_status < <(timed /usr/bin/python3 "$ezdxf_script" "$shape" "$size" "$dxf")
      fi
      [[ $gen_status == 0 ]] || { echo "$writer failed: $(cat "$scratch/run.out")" >&2; exit 1; }
      faces=$(faces_of "$shape" "$size")
      bytes=$(stat -c %s "$dxf")
      read -r seconds rss status < <(timed "$vrmlout" "$dxf" "$wrl" --vrml2)
      note=""
      [[ $status == 0 && -s $wrl ]] || note="FAILED(exit $status): $(head -c 200 "$scratch/run.out" | tr '\n' ' ')"
      awk -v shape="$shape" -v rel="$writer/$release" -v faces="$faces" -v bytes="$bytes" -v gen="$gen_s" \
          -v s="$seconds" -v rss="$rss" -v note="$note" 'BEGIN {
        t = (s > 0 ? s : 0.001)
        printf "%-9s %-13s %9d %9.1f %8.2f %8.3f %12.0f %9.1f %9.1f %s\n", shape, rel, faces, bytes / 1e6,
               gen, s, faces / t, bytes / 1e6 / t, rss / 1024, note }' | tee -a "$results"
      if [[ -n $assimp && $shape != mesh ]]; then
        read -r a_seconds a_rss a_status < <(timed "$assimp" export "$dxf" "$scratch/assimp.x3d")
        awk -v shape="$shape" -v rel="$writer/$release" -v faces="$faces" -v bytes="$bytes" -v s="$a_seconds" \
            -v rss="$a_rss" -v ours="$seconds" -v st="$a_status" 'BEGIN {
          t = (s > 0 ? s : 0.001)
          printf "%-9s %-13s %9d %9.1f %8s %8.3f %12.0f %9.1f %9.1f assimp export to X3D%s; ratio assimp/ours %.2f\n",
                 shape, rel, faces, bytes / 1e6, "-", s, faces / t, bytes / 1e6 / t, rss / 1024,
                 (st == 0 ? "" : " FAILED(exit " st ")"), s / (ours > 0 ? ours : 0.001) }' | tee -a "$results"
        rm -f "$scratch/assimp.x3d"
      fi
      rm -f "$wrl"
      [[ $writer == ezdxf && -n ${2:-} ]] || rm -f "$dxf"
    done
  done
 done
done

# Growth: time per face at each size relative to the size before it.
echo
echo "growth of export time per face (ours), each size against the one before:"
grep -v assimp "$results" | awk '{
  key = $1 " " $2; per = $6 / $3
  if (key in last) printf "  %-16s %9d -> %9d faces: %.2fx\n", key, lastFaces[key], $3, per / last[key]
  last[key] = per; lastFaces[key] = $3 }'
echo "machine load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
