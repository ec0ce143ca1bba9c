#!/usr/bin/env bash
# Sets up, builds and runs every test. Usage: scripts/test.sh [BUILD_DIR] [CMake args...]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
bash scripts/setup.sh "$@"
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" --timeout 900
