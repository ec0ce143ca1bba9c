#!/usr/bin/env bash
# Builds one fuzz target as a libFuzzer program (clang, sanitizers) in build-fuzz
# and runs it for the given time over its corpus. Inputs it finds go to
# build-fuzz/corpus/TARGET; crashes, leaks and timeouts to tests/fuzz/crashes/TARGET.
# Usage: scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
# Targets: ply_reader obj_reader off_reader svg_shape_reader json_shape_reader gltf_check
# triangulate cut_face closed_lines_index
# JOBS sets the build's parallel jobs (default: all cores).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 2 ]; then
  sed -n '5,8s/^# //p' "$0" >&2
  exit 2
fi
target=$1
seconds=$2
shift 2
case "$target" in
  ply_reader | obj_reader | off_reader | svg_shape_reader | json_shape_reader | gltf_check)
    max_len=4096
    ;;
  triangulate | closed_lines_index) max_len=512 ;;
  cut_face) max_len=256 ;;
  *)
    echo "fuzz: unknown target $target" >&2
    exit 2
    ;;
esac

# The project's own packages come from setup.sh; libFuzzer needs clang and its
# runtime, which is only a recommended package.
missing=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

build=build-fuzz
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DSLITFORM_FUZZ=ON -DSLITFORM_BENCH=OFF -DCMAKE_BUILD_TYPE=Release \
    "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -g1 -DNDEBUG" >/dev/null
fi
cmake --build "$build" -j"${JOBS:-$(nproc)}" --target "fuzz_$target"

found="$build/corpus/$target"
crashes="tests/fuzz/crashes/$target"
mkdir -p "$found" "$crashes"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The first folder receives new inputs; the committed seeds stay as they are.
exec "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" \
  -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$crashes/" \
  "$@" "$found" "tests/fuzz/corpus/$target"
