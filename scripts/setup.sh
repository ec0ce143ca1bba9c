#!/usr/bin/env bash
# Installs the Debian packages the project needs (once), then configures and
# builds. Usage: scripts/setup.sh [BUILD_DIR] [extra CMake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libcgal-dev
  qtbase5-dev xvfb xauth
  libtinyobjloader-dev libsvgpp-dev libcli11-dev libassimp-dev fonts-dejavu-core
  libcurl4-openssl-dev libcpp-httplib-dev openssl
  pybind11-dev python3-dev python3-numpy python3-pytest
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

build_dir=${1:-build}
[ $# -gt 0 ] && shift
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
if ! { cmake -S . -B "$build_dir" "$@" && cmake --build "$build_dir" -j"$(nproc)"; } >"$log" 2>&1; then
  cat "$log"
  echo "setup: the build in $build_dir failed" >&2
  exit 1
fi
