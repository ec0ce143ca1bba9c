#!/usr/bin/env bash
# Takes the README's screenshot: slitform-studio with the demo scene, drawn on Qt's
# offscreen platform with OpenGL through Mesa's software renderer on a virtual X
# server (xvfb-run; no display needed), saved as docs/studio.png.
# Usage: scripts/screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
# A fresh machine: install the packages and build everything first.
[ -f "$build_dir/CMakeCache.txt" ] || bash scripts/setup.sh "$build_dir"
cmake --build "$build_dir" --target slitform-studio -j"$(nproc)" >/dev/null
mkdir -p docs
xvfb-run -a env QT_QPA_PLATFORM=offscreen LIBGL_ALWAYS_SOFTWARE=1 \
  "$build_dir/app/slitform-studio" --screenshot docs/studio.png
echo "wrote docs/studio.png"
