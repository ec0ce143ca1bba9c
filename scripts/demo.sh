#!/usr/bin/env bash
# Sets up, builds and runs the main job: the demo scene cut by the plug-in, with
# the result mesh, a picture and a report written to ./slitform-demo (or DIR).
# Usage: scripts/demo.sh [DIR]
set -euo pipefail
out=$(realpath -m "${1:-slitform-demo}")
cd "$(dirname "$0")/.."
bash scripts/setup.sh build
build/app/slitform demo --out "$out"
