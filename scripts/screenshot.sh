#!/usr/bin/env bash
# Takes the README's screenshots: slitform-studio with the demo scene
# (docs/studio.png), and with a UV sphere of about a million faces cut by a star,
# its edges shown (docs/studio-large.png). Drawn on Qt's offscreen platform with
# OpenGL through Mesa's software renderer on a virtual X server (xvfb-run; no
# display needed).
# Usage: scripts/screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
# A fresh machine: install the packages and build everything first.
[ -f "$build_dir/CMakeCache.txt" ] || bash scripts/setup.sh "$build_dir"
cmake --build "$build_dir" --target slitform-studio -j"$(nproc)" >/dev/null
mkdir -p docs
studio() {
  xvfb-run -a env QT_QPA_PLATFORM=offscreen LIBGL_ALWAYS_SOFTWARE=1 "$build_dir/app/slitform-studio" "$@"
}
studio --screenshot docs/studio.png
echo "wrote docs/studio.png"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 - "$work/sphere.ply" <<'PY'
import math, sys
rings = 707; segments = 2 * rings  # about a million faces
with open(sys.argv[1], "w") as out:
    verts = [(0.0, 0.0, 1.0)]
    for r in range(1, rings):
        t = math.pi * r / rings
        for s in range(segments):
            p = 2.0 * math.pi * s / segments
            verts.append((math.sin(t) * math.cos(p), math.sin(t) * math.sin(p), math.cos(t)))
    verts.append((0.0, 0.0, -1.0))
    bottom = len(verts) - 1
    at = lambda r, s: 1 + (r - 1) * segments + s % segments
    faces = [(0, at(1, s), at(1, s + 1)) for s in range(segments)]
    faces += [(at(r, s), at(r + 1, s), at(r + 1, s + 1), at(r, s + 1))
              for r in range(1, rings - 1) for s in range(segments)]
    faces += [(bottom, at(rings - 1, s + 1), at(rings - 1, s)) for s in range(segments)]
    out.write("ply\nformat ascii 1.0\nelement vertex %d\nproperty float x\nproperty float y\n"
              "property float z\nelement face %d\nproperty list uchar int vertex_indices\n"
              "end_header\n" % (len(verts), len(faces)))
    out.write("".join("%.6f %.6f %.6f\n" % v for v in verts))
    out.write("".join("%d %s\n" % (len(f), " ".join(map(str, f))) for f in faces))
PY
studio --screenshot docs/studio-large.png --pick --edges "$work/sphere.ply" examples/star.svg
echo "wrote docs/studio-large.png"
