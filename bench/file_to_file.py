#!/usr/bin/env python3
"""The data path from file to file and from arrays to arrays, on a UV sphere of a million
faces (binary PLY) cut by the star with the weld on, on two threads:

- the command line's whole process against the evaluation time its report gives, and its
  peak memory (medians of RUNS);
- an evaluation that cuts no face (the star moved off the mesh);
- Python from arrays to arrays against the same evaluation time;
- the whole-mesh copies and conversions each path makes, counted by gdb on a small
  sphere (the counts do not depend on the size).

Usage: python3 bench/file_to_file.py BUILD_DIR [RUNS]   (gdb is Debian's gdb package)"""
import json
import os
import pathlib
import resource
import statistics
import subprocess
import sys
import tempfile
import time

import numpy as np

ROOT = pathlib.Path(__file__).resolve().parent.parent
STAR = ROOT / "tests" / "data" / "corpus" / "star.json"


def uv_sphere(segments, rings):
    """Triangles at the poles, quads between, counter-clockwise from outside."""
    theta = np.linspace(0, 2 * np.pi, segments, endpoint=False)
    phi = np.linspace(0, np.pi, rings + 1)[1:-1]
    p, t = np.meshgrid(phi, theta, indexing="ij")
    ring = np.stack([np.sin(p) * np.cos(t), np.sin(p) * np.sin(t), np.cos(p)], -1).reshape(-1, 3)
    vertices = np.vstack([[0, 0, 1], ring, [0, 0, -1]]).astype("<f4")
    south = len(vertices) - 1
    i = np.arange(segments)
    top = np.stack([np.zeros(segments, int), 1 + (i + 1) % segments, 1 + i], -1)
    j = np.arange(rings - 2)[:, None]
    a = 1 + j * segments + i
    b = 1 + j * segments + (i + 1) % segments
    quads = np.stack([a, b, b + segments, a + segments], -1).reshape(-1, 4)
    last = 1 + (rings - 2) * segments
    bottom = np.stack([np.full(segments, south), last + i, last + (i + 1) % segments], -1)
    return vertices, np.vstack([top, bottom]), quads


def write_ply(path, vertices, triangles, quads):
    faces = len(triangles) + len(quads)
    header = ("ply\nformat binary_little_endian 1.0\nelement vertex %d\nproperty float x\n"
              "property float y\nproperty float z\nelement face %d\n"
              "property list uchar int vertex_indices\nend_header\n") % (len(vertices), faces)
    with open(path, "wb") as out:
        out.write(header.encode())
        out.write(vertices.tobytes())
        for rows, k in ((triangles, 3), (quads, 4)):
            items = np.zeros(len(rows), dtype=[("n", "u1"), ("i", "<i4", (k,))])
            items["n"], items["i"] = k, rows
            out.write(items.tobytes())


def run_cli(cli, mesh, out, *extra):
    """Wall seconds, peak MB and the report's evaluation seconds of one run."""
    report = out.with_suffix(".json")
    start = time.perf_counter()
    child = subprocess.Popen([str(cli), "cut", str(mesh), str(STAR), "-o", str(out),
                              "--set", "weld_on=on", "--report", str(report), *extra],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        sys.exit("the command line failed on %s" % mesh)
    return wall, usage.ru_maxrss / 1024, json.loads(report.read_text())["evaluation_seconds"]


# What counts as a whole-mesh copy or conversion: the function that makes it (in full
# where a cold clone of it would be found first).
COUNTED = {
    # Every copy of a poly mesh, assignments too, goes through its copy constructor.
    "poly mesh copies": "MNMesh::MNMesh(MNMesh const&)",
    "poly mesh to triangles": "MNMesh::OutToTri(Mesh&) const",
    "flat mesh to poly mesh": "BuildMNMesh",
    "poly mesh to flat mesh":
    "slitform::FromPolyMesh(MNMesh const&, MeshAttributes const&, slitform::Outcome*)",
    "arrays to flat mesh": "slitform::MeshFromArrays(pybind11::handle const&, "
    "pybind11::handle const&, pybind11::handle const&)",
    "poly mesh to file bytes": "PlyBytes",
}


def count_copies(command, stop):
    """Runs command under gdb with a counting breakpoint on each function once stop is
    reached (the libraries loaded), and gives how often each was entered."""
    arguments = ["gdb", "-batch", "-ex", "set pagination off", "-ex", stop, "-ex", "run"]
    for symbol in COUNTED.values():
        # A function this program lacks is refused, and counts 0.
        arguments += ["-ex", "break *'%s'" % symbol]
    arguments += ["-ex", "python [b.__setattr__('ignore_count', 100000000) "
                  "for b in gdb.breakpoints()]", "-ex", "continue",
                  "-ex", "python print('\\n'.join('%s\\t%d' % (b.location, b.hit_count) "
                  "for b in gdb.breakpoints()))", "--args", *command]
    out = subprocess.run(arguments, capture_output=True, text=True).stdout
    counts = {what: 0 for what in COUNTED}
    for line in out.splitlines():
        location, _, hits = line.rpartition("\t")
        for what, symbol in COUNTED.items():
            if location == "*'%s'" % symbol:
                counts[what] = int(hits)
    return counts


def main():
    build = pathlib.Path(sys.argv[1]).resolve()
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    cli = build / "app" / "slitform"
    sys.path.insert(0, str(build / "python"))
    import slitform
    os.environ.setdefault("SLITFORM_THREADS", "2")
    work = pathlib.Path(tempfile.mkdtemp(prefix="slitform-file-to-file-"))
    big, small = work / "sphere1m.ply", work / "sphere2k.ply"
    write_ply(big, *uv_sphere(1000, 1000))
    write_ply(small, *uv_sphere(40, 50))

    cut = [run_cli(cli, big, work / "cut.ply") for _ in range(runs)]
    wall, peak, evaluation = (statistics.median(x) for x in zip(*cut))
    missed = statistics.median(run_cli(cli, big, work / "missed.ply", "--shape-translate",
                                       "10,0,0")[2] for _ in range(runs))
    mesh = slitform.read_mesh(big)
    vertices = np.array(mesh.vertices)
    faces = (np.array(mesh.face_offsets), np.array(mesh.face_indices))
    python = []
    for _ in range(runs):
        start = time.perf_counter()
        slitform.cut(vertices, faces, str(STAR), weld_on=True)
        python.append(time.perf_counter() - start)
    python = statistics.median(python)

    print("1M-face sphere, star, weld on, %s threads, medians of %d" %
          (os.environ["SLITFORM_THREADS"], runs))
    print("  command line: whole process %.3f s, evaluation %.3f s, ratio %.2f; peak %.0f MB" %
          (wall, evaluation, wall / evaluation, peak))
    print("  evaluation that cuts no face: %.3f s" % missed)
    print("  Python, arrays to arrays: %.3f s, %.2f x the command line's evaluation" %
          (python, python / evaluation))
    print("whole-mesh copies and conversions (2k-face sphere):")
    paths = {
        "command line, file to file": ([str(cli), "cut", str(small), str(STAR), "-o",
                                        str(work / "small.ply"), "--set", "weld_on=on"],
                                       "tbreak main"),
        "Python, arrays to arrays": ([sys.executable, "-c",
                                      "import os, signal, sys; sys.path.insert(0, %r); "
                                      "import numpy as np, slitform; "
                                      "m = slitform.read_mesh(%r); "
                                      "v, f = np.array(m.vertices), (np.array(m.face_offsets), "
                                      "np.array(m.face_indices)); "
                                      "os.kill(os.getpid(), signal.SIGTRAP); "
                                      "slitform.cut(v, f, %r, weld_on=True)" %
                                      (str(build / "python"), str(small), str(STAR))],
                                     "handle SIGTRAP stop"),
    }
    for name, (command, stop) in paths.items():
        counts = count_copies(command, stop)
        print("  %s: %s" % (name, ", ".join("%s %d" % item for item in counts.items())))


if __name__ == "__main__":
    main()
