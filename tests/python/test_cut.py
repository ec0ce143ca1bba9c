"""slitform.cut from NumPy arrays: the same result as the command line, errors for
bad arrays, shapes in every accepted form, threads, progress and cancelling."""
import json
import os
import subprocess
import threading
import _thread

import numpy as np
import pytest

import slitform
from conftest import grid, square


def run_cli(tmp_path, mesh_path, shape_path, *sets):
    out = tmp_path / "cli.ply"
    report = tmp_path / "cli.json"
    command = [os.environ["SLITFORM_CLI"], "cut", str(mesh_path), str(shape_path), "-o", str(out),
               "--report", str(report)]
    for s in sets:
        command += ["--set", s]
    subprocess.run(command, check=True, capture_output=True)
    return slitform.read_mesh(out), json.loads(report.read_text())


@pytest.mark.parametrize("sets", [(), ("open=on", "weld_on=on")])
def test_cut_from_arrays_equals_the_command_line(tmp_path, examples, sets):
    vertices, faces = grid(12)
    vertices = vertices * 10.0
    mesh_path = tmp_path / "grid.ply"
    slitform.write_mesh(mesh_path, vertices, faces)
    cli_mesh, report = run_cli(tmp_path, mesh_path, examples / "star.svg", *sets)

    parameters = dict(s.split("=") for s in sets)
    result = slitform.cut(vertices, faces, str(examples / "star.svg"), **parameters)
    np.testing.assert_array_equal(result.vertices, cli_mesh.vertices)
    np.testing.assert_array_equal(result.mesh.face_offsets, cli_mesh.face_offsets)
    np.testing.assert_array_equal(result.mesh.face_indices, cli_mesh.face_indices)
    # The command line's report, key for key, but for the files and the time.
    ours = dict(result.report)
    for r in (ours, report):
        del r["inputs"], r["evaluation_seconds"]
    assert ours == report
    assert report["faces_cut"] > 0
    assert report["selected"]["faces"] == len(result.selected_faces)
    assert report["selected"]["edges"] == len(result.selected_edges)


def test_written_result_reads_back_with_its_selections(tmp_path):
    vertices, faces = grid(6)
    result = slitform.cut(vertices, faces, [square(3, 3)])
    path = tmp_path / "cut.ply"
    slitform.write_mesh(path, result)
    back = slitform.read_mesh(path)
    np.testing.assert_array_equal(back.vertices, result.vertices)
    assert len(result.selected_faces) > 0
    assert result.selected_edges.shape[1] == 2 and len(result.cut_edges) > 0


@pytest.mark.parametrize("vertices, faces, message", [
    (np.zeros((4, 2)), [[0, 1, 2]], "vertices: not an (n, 3) array"),
    (np.zeros(12), [[0, 1, 2]], "vertices: not an (n, 3) array"),
    (np.array([["a", "b", "c"]] * 3), [[0, 1, 2]], "vertices: not numbers"),
    (np.array([[0, 0, 0], [1, 0, np.nan], [0, 1, 0]]), [[0, 1, 2]], "vertex 1"),
    (np.array([[0, 0, 0], [1, 0, 0], [0, 1, np.inf]]), [[0, 1, 2]], "vertex 2"),
    (np.eye(3), [[0, 1, 3]], "face 0 uses vertex 3, out of range 0 to 2"),
    (np.eye(3), [[0, -1, 2]], "uses vertex -1"),
    (np.eye(3), np.array([[0, 1, 2 ** 40]]), "out of range"),
    (np.eye(3), np.array([[0.0, 1.0, 2.0]]), "not integers"),
    (np.eye(3), [[0, 1]], "face 0 has 2 corners"),
    (np.eye(3), np.zeros((2, 2, 3), dtype=int), "faces: an array of faces must be (m, k)"),
    (np.eye(3), "012", "faces: not an array"),
    (np.eye(3), [], "mesh: no faces"),
])
def test_bad_arrays_raise_the_documented_error(vertices, faces, message):
    with pytest.raises(slitform.Error, match=message.replace("(", r"\(").replace(")", r"\)")) as e:
        slitform.cut(vertices, faces, [square(0.3, 0.3, 0.1)])
    assert e.value.code == "bad_input"


def test_bad_shapes_and_parameters_raise_the_documented_error(tmp_path):
    vertices, faces = grid(3)
    assert issubclass(slitform.Error, ValueError)
    for shape, message, code in [
            ([], "no lines", "bad_input"), ([np.zeros((3, 2))], "not a \\(k, 3\\) array", "bad_input"),
            ([square(1, 1)[:1]], "has 1 points", "bad_input"), (42, "not a path", "bad_input"),
            ([{"closed": True}], "without \"points\"", "bad_input"),
            ([(square(1, 1), "yes")], "closed flag", "bad_input"),
            (str(tmp_path / "none.svg"), "none.svg", "unreadable_file")]:
        with pytest.raises(slitform.Error, match=message) as e:
            slitform.cut(vertices, faces, shape)
        assert e.value.code == code
    # The parameters are keywords of cut itself: a misspelt one is Python's TypeError.
    with pytest.raises(TypeError):
        slitform.cut(vertices, faces, [square(1, 1)], nonsense=1)
    for parameters, message in [({"min_angle": 34}, "min_angle=34: out of range 0 to 33"),
                                ({"weld": [1]}, "not a number, a bool or a string"),
                                ({"weld": np.complex128(1 + 2j)}, "not a number")]:
        with pytest.raises(slitform.Error, match=message) as e:
            slitform.cut(vertices, faces, [square(1, 1)], **parameters)
        assert e.value.code == "bad_parameter"
    with pytest.raises(slitform.Error, match="\\(4, 3\\)"):
        slitform.cut(vertices, faces, [square(1, 1)], shape_transform=np.eye(3))


def test_shape_forms_and_parameters_by_keyword(examples, tmp_path):
    vertices, faces = grid(6)
    as_array = slitform.cut(vertices, faces, [square(3, 3)])
    as_pair = slitform.cut(vertices, faces, [(square(3, 3), True)])
    as_dict = slitform.cut(vertices, faces, [{"points": square(3, 3)}])
    for other in (as_pair, as_dict):
        np.testing.assert_array_equal(other.vertices, as_array.vertices)
    # An open line selects no inside.
    open_line = slitform.cut(vertices, faces, [(square(3, 3), False)])
    assert len(open_line.selected_faces) == 0 and len(as_array.selected_faces) > 0
    holed = slitform.cut(vertices, faces, [square(3, 3)], open=np.bool_(True), matid=np.int64(3))
    assert holed.mesh.face_count == as_array.mesh.face_count - len(as_array.selected_faces)
    assert holed.report["parameters"]["open"] is True and holed.report["parameters"]["matid"] == 3
    # A read shape cuts as its file does.
    from_file = slitform.cut(vertices, faces, examples / "ring.json")
    from_lines = slitform.cut(vertices, faces, slitform.read_shape(examples / "ring.json"))
    np.testing.assert_array_equal(from_file.vertices, from_lines.vertices)
    # Placed beside the grid, the square cuts nothing.
    away = np.array([[1, 0, 0], [0, 1, 0], [0, 0, 1], [50, 50, 5]], dtype=float)
    missed = slitform.cut(vertices, faces, [square(0, 0)], shape_transform=away).report
    assert missed["faces_cut"] == 0 and missed["warnings"] == ["the shape cut no face"]
    # The grid stood up as a Y-up floor: up="y" lays the square over it as up="z" does
    # over the flat grid, with the shape's y along -Z.
    flat = slitform.cut(vertices, faces, [square(3, 2)])
    turned = vertices[:, [0, 2, 1]] * np.array([1.0, 1.0, -1.0])
    floor = slitform.cut(turned, faces, [square(3, 2)], up="y")
    np.testing.assert_allclose(floor.vertices[:, [0, 2, 1]] * np.array([1.0, -1.0, 1.0]),
                               flat.vertices, atol=1e-6)
    assert floor.report["inputs"]["up"] == "y" and flat.report["inputs"]["up"] == "z"
    # Written as glTF the flat (Z-up) grid stands up in glTF's Y up, read back as Y-up,
    # and cuts as it did; the floor (said to be Y-up) is written as it is.
    for result, stood in ((flat, True), (floor, False)):
        slitform.write_mesh(tmp_path / "grid.glb", result.mesh)
        back = slitform.read_mesh(tmp_path / "grid.glb")
        assert back.up == "y"
        expected = result.vertices[:, [0, 2, 1]] * np.array([1.0, 1.0, -1.0]) if stood else \
            result.vertices
        np.testing.assert_allclose(np.unique(back.vertices, axis=0), np.unique(expected, axis=0),
                                   atol=1e-6)
        assert slitform.cut(back, [square(3, 2)]).report["faces_cut"] > 0
    assert slitform.cut(turned, faces, [square(3, 2)]).report["faces_cut"] == 0
    with pytest.raises(slitform.Error, match="up"):
        slitform.cut(vertices, faces, [square(3, 2)], up="x")


def test_triangles_and_ngons():
    vertices, quads = grid(4)
    triangles = np.concatenate([quads[:, [0, 1, 2]], quads[:, [0, 2, 3]]])
    tri = slitform.cut(vertices, triangles, [square(2, 2)])
    assert tri.report["in"]["faces"] == 32 and tri.report["faces_cut"] > 0
    ngon = slitform.cut(np.array([[0, 0, 0], [2, 0, 0], [3, 1, 0], [2, 2, 0], [0, 2, 0]]),
                        [[0, 1, 2, 3, 4]], [square(1.5, 1)])
    assert ngon.report["faces_cut"] == 1
    # A pentagon and a triangle below it, as a list and as a ragged object array.
    points = np.array([[0, 0, 0], [2, 0, 0], [3, 1, 0], [2, 2, 0], [0, 2, 0], [1, -1, 0]])
    mixed = [np.array([0, 1, 2, 3, 4]), np.array([0, 5, 1])]
    as_list = slitform.cut(points, mixed, [square(1.5, 1)])
    as_objects = slitform.cut(points, np.array(mixed, dtype=object), [square(1.5, 1)])
    assert as_list.report["in"]["faces"] == 2 and as_list.report["faces_cut"] >= 1
    np.testing.assert_array_equal(as_list.vertices, as_objects.vertices)


def test_two_threads_give_the_sequential_results():
    vertices, faces = grid(30)
    shapes = [[square(15, 15, 8)], [square(10, 12, 5), square(18, 16, 6)]]
    sequential = [slitform.cut(vertices, faces, s, weld_on=True) for s in shapes]
    threaded = [None, None]

    def run(i):
        threaded[i] = slitform.cut(vertices, faces, shapes[i], weld_on=True)

    workers = [threading.Thread(target=run, args=(i,)) for i in range(2)]
    for w in workers:
        w.start()
    for w in workers:
        w.join()
    for a, b in zip(sequential, threaded):
        np.testing.assert_array_equal(a.vertices, b.vertices)
        np.testing.assert_array_equal(a.selected_faces, b.selected_faces)
        np.testing.assert_array_equal(a.cut_edges, b.cut_edges)
        assert a.mesh.face_count == b.mesh.face_count


def test_progress_is_heard_and_an_exception_in_it_stops_the_cut():
    vertices, faces = grid(8)
    heard = []
    slitform.cut(vertices, faces, [square(4, 4)], progress=lambda *a: heard.append(a))
    assert heard and heard[-1][0] == heard[-1][1] == 64

    class Stop(Exception):
        pass

    def stop(done, total, seconds):
        raise Stop()

    with pytest.raises(Stop):
        slitform.cut(vertices, faces, [square(4, 4)], progress=stop)


def test_parameters_list_names_defaults_ranges_and_meanings():
    listed = {p["name"]: p for p in slitform.parameters()}
    assert len(listed) == 12
    assert listed["min_angle"]["default"] == 27 and listed["min_angle"]["range"] == (0, 33)
    assert listed["open"]["kind"] == "switch" and listed["open"]["default"] is False
    assert listed["sel_level"]["kind"] == "whole"
    assert all(p["meaning"] for p in listed.values())


def test_ctrl_c_cancels_the_cut():
    vertices, faces = grid(8)
    with pytest.raises(KeyboardInterrupt):
        slitform.cut(vertices, faces, [square(4, 4)], progress=lambda *a: _thread.interrupt_main())
    # The module stays usable.
    assert slitform.cut(vertices, faces, [square(4, 4)]).report["faces_cut"] > 0


def test_a_read_mesh_keeps_its_attributes_through_the_cut_and_back(tmp_path):
    """A textured OBJ: every corner's texture coordinate is its position / 12 on the flat
    grid, before the cut and after it (new corners too), and after writing and reading."""
    vertices, faces = grid(12)
    lines = ["mtllib plate.mtl", "o Plate"]
    lines += ["v %g %g %g" % tuple(v) for v in vertices]
    lines += ["vt %g %g" % (v[0] / 12, v[1] / 12) for v in vertices]
    lines += ["vn 0 0 1", "g body", "usemtl Wood"]
    lines += ["f " + " ".join("%d/%d/1" % (i + 1, i + 1) for i in f) for f in faces]
    (tmp_path / "plate.obj").write_text("\n".join(lines) + "\n")
    (tmp_path / "plate.mtl").write_text("newmtl Wood\nmap_Kd textures/wood.png\n")
    mesh = slitform.read_mesh(tmp_path / "plate.obj")
    assert mesh.name == "Plate" and "Wood" in mesh.material_names and mesh.group_names == ["body"]
    assert mesh.faces.shape == (144, 4) and mesh.uvs.shape == (576, 3)

    def assert_uvs_follow_positions(m):
        corners = m.vertices[m.face_indices]
        np.testing.assert_allclose(m.uvs[:, :2], corners[:, :2] / 12, atol=1e-5)
        np.testing.assert_allclose(m.normals, np.tile([0, 0, 1], (len(m.face_indices), 1)),
                                   atol=1e-5)

    assert_uvs_follow_positions(mesh)
    result = slitform.cut(mesh, [square(6, 6, 3.3)], weld_on=True)
    assert result.report["faces_cut"] > 0
    assert_uvs_follow_positions(result.mesh)
    assert result.mesh.name == "Plate" and result.mesh.group_names == ["body"]
    assert (result.mesh.groups == 0).all()
    # The result's arrays are views of its mesh, not copies.
    assert np.shares_memory(result.vertices, result.mesh.vertices)
    slitform.write_mesh(tmp_path / "cut.obj", result.mesh)
    back = slitform.read_mesh(tmp_path / "cut.obj")
    # In another folder the result's materials come beside it, the texture still found,
    # and the inside faces' new material defined.
    (tmp_path / "out").mkdir()
    inside = slitform.cut(mesh, [square(6, 6, 3.3)], matid_on=True, matid=2).mesh
    slitform.write_mesh(tmp_path / "out" / "inside.obj", inside)
    library = (tmp_path / "out" / "inside.mtl").read_text()
    assert "newmtl Wood\nmap_Kd ../textures/wood.png\n" in library
    assert "newmtl slitform_inside\n" in library
    assert back.face_count == result.mesh.face_count
    assert_uvs_follow_positions(back)
    # The same mesh from arrays, faces as offsets and indices.
    again = slitform.Mesh(mesh.vertices, (mesh.face_offsets, mesh.face_indices), uvs=mesh.uvs,
                          normals=mesh.normals)
    assert (again.materials == 0).all() and again.uvs is not None and again.colors is None
    for offsets in ([1, 4], [0, 8, 4], [0, 4, 8 + 1], []):
        with pytest.raises(slitform.Error, match="offsets must rise"):
            slitform.Mesh(mesh.vertices, (np.array(offsets), mesh.face_indices[:8]))
    np.testing.assert_array_equal(slitform.cut(again, [square(6, 6, 3.3)], weld_on=True).mesh.uvs,
                                  result.mesh.uvs)


def test_the_type_stubs_name_what_the_module_has():
    """The stubs shipped beside the module: every function and cut's every keyword."""
    import ast
    stubs = ast.parse(open(os.path.join(os.path.dirname(slitform.__file__), "slitform.pyi")).read())
    signatures = slitform.cut.__doc__
    for node in stubs.body:
        if isinstance(node, (ast.FunctionDef, ast.ClassDef)):
            assert hasattr(slitform, node.name), node.name
        if isinstance(node, ast.FunctionDef) and node.name == "cut":
            for arg in node.args.args + node.args.kwonlyargs:
                assert arg.arg + ":" in signatures, arg.arg


def test_paths_and_indices_are_taken_exactly(tmp_path, examples):
    """A NUL cuts no path short, bytes paths are paths, and no index is rounded."""
    vertices, faces = grid(3)
    slitform.write_mesh(tmp_path / "grid.ply", vertices, faces)
    for call in (lambda: slitform.read_mesh(str(tmp_path / "grid.ply") + "\0.obj"),
                 lambda: slitform.write_mesh(str(tmp_path / "x\0.ply"), vertices, faces),
                 lambda: slitform.cut(vertices, faces, str(examples / "star.svg") + "\0")):
        with pytest.raises(slitform.Error, match="NUL") as e:
            call()
        assert e.value.code == "bad_input"
    assert slitform.read_mesh(os.fsencode(tmp_path / "grid.ply")).face_count == 9
    assert slitform.cut(vertices, faces, os.fsencode(examples / "star.svg")).report["faces_cut"] > 0
    result = slitform.cut(vertices, faces, [square(1.5, 1.5, 0.5)])
    result.selected_vertices = np.array([1.7])
    with pytest.raises(slitform.Error, match="not integers"):
        slitform.write_mesh(tmp_path / "cut.ply", result)
