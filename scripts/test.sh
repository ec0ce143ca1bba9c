#!/usr/bin/env bash
# Sets up, builds and runs every test. Usage: scripts/test.sh [BUILD_DIR] [CMake args...]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
# Blender for the add-on's tests only, so the demo's setup stays without it.
if ! dpkg-query -W -f='${Status}' blender 2>/dev/null | grep -q "install ok installed"; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null
  apt-get install -y -qq --no-install-recommends blender >/dev/null
fi
bash scripts/setup.sh "$@"
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" --timeout 900
