"""The Blender add-on inside Blender itself, installed from the zip the build made:
    blender -b --factory-startup --python-exit-code 1 --python addon_test.py -- ZIP RC
(with BLENDER_USER_SCRIPTS set to an empty folder). Checks the operator's options and
parameters against the plug-in, then cuts a textured cube by a text object and a grid
by a Bezier circle and a loose-edge square."""
import itertools
import math
import os
import re
import sys
import unittest

import bpy
import numpy as np

ZIP, RC = sys.argv[sys.argv.index("--") + 1:][:2]


def setUpModule():
    bpy.ops.preferences.addon_install(filepath=ZIP)
    bpy.ops.preferences.addon_enable(module="slitform_blender")


def clear_scene():
    for obj in list(bpy.data.objects):
        bpy.data.objects.remove(obj)
    for material in list(bpy.data.materials):
        bpy.data.materials.remove(material)


def select_for_cut(shape, target):
    bpy.ops.object.select_all(action='DESELECT')
    shape.select_set(True)
    target.select_set(True)
    bpy.context.view_layer.objects.active = target


def corner_arrays(mesh):
    """Positions, corner vertex indices and {UV layer name: (corners, 2)}."""
    positions = np.empty(len(mesh.vertices) * 3)
    mesh.vertices.foreach_get("co", positions)
    indices = np.empty(len(mesh.loops), dtype=np.int64)
    mesh.loops.foreach_get("vertex_index", indices)
    uvs = {}
    for layer in mesh.uv_layers:
        values = np.empty(len(mesh.loops) * 2)
        layer.data.foreach_get("uv", values)
        uvs[layer.name] = values.reshape(-1, 2)
    return positions.reshape(-1, 3), indices, uvs


class AddonTest(unittest.TestCase):
    def test_operator_registers_with_undo_and_the_plugins_parameters(self):
        operator = bpy.types.MESH_OT_slitform_cut
        self.assertEqual({'REGISTER', 'UNDO'}, set(operator.bl_options))
        from slitform_blender import cut_operator, module_loader
        slitform = module_loader.load()
        properties = bpy.ops.mesh.slitform_cut.get_rna_type().properties
        with open(RC) as rc:
            rollout = {text.rstrip(":") for text in re.findall(r'"([^"\n]+)"', rc.read())}
        listed_parameters = slitform.parameters(module_loader.PLUGIN)
        for listed in listed_parameters:
            name = listed["name"]
            prop = properties[name]
            with self.subTest(name):
                self.assertIn(prop.name, rollout)
                if name == "sel_level":
                    self.assertEqual(str(listed["default"]), prop.default)
                    self.assertEqual({str(v) for v in range(5)},
                                     {item.identifier for item in prop.enum_items})
                    continue
                self.assertAlmostEqual(listed["default"], prop.default, places=6)
                if prop.type != 'BOOLEAN':
                    self.assertAlmostEqual(listed["range"][0], prop.hard_min, places=6)
                    self.assertAlmostEqual(listed["range"][1], prop.hard_max, places=6)
        self.assertEqual(len(cut_operator.PARAMETERS), len(listed_parameters))

    def test_textured_cube_by_text(self):
        clear_scene()
        bpy.ops.mesh.primitive_cube_add(size=4, location=(0.3, -0.2, 0))
        cube = bpy.context.active_object
        cube.rotation_euler = (0, 0, 0.3)
        cube.data.materials.append(bpy.data.materials.new("Paint"))
        # A second UV layer, and a colour per vertex that is linear in its position.
        detail = cube.data.uv_layers.new(name="Detail")
        first = np.empty(len(cube.data.loops) * 2)
        cube.data.uv_layers["UVMap"].data.foreach_get("uv", first)
        detail.data.foreach_set("uv", (first.reshape(-1, 2)[:, ::-1] * 2 + 0.5).ravel())
        cube.data.uv_layers.active = detail
        tint = cube.data.color_attributes.new("Tint", 'FLOAT_COLOR', 'POINT')
        cube.data.color_attributes.active_color = tint
        corners = np.array([v.co for v in cube.data.vertices])
        tint.data.foreach_set("color", np.hstack([(corners + 2) / 4, np.ones((8, 1))]).ravel())
        # A vertex group weighted by height, the bottom corners left out.
        height = cube.vertex_groups.new(name="Height")
        for vertex in cube.data.vertices:
            if vertex.co.z > 0:
                height.add([vertex.index], (vertex.co.z + 2) / 4, 'REPLACE')
        before_positions, before_indices, before_uvs = corner_arrays(cube.data)
        before_faces = len(cube.data.polygons)
        sides_before = self.sides(cube.data, before_faces)
        bpy.ops.object.text_add(location=(-1.2, -0.5, 3))
        text = bpy.context.active_object
        text.data.body = "LOGO"
        text.data.size = 1.0
        select_for_cut(text, cube)
        result = bpy.ops.mesh.slitform_cut(matid_on=True, matid=2, sel_level='3', weld_on=True)
        self.assertEqual({'FINISHED'}, result)
        mesh = cube.data
        self.assertGreater(len(mesh.polygons), before_faces)
        self.assertEqual(["Paint", "slitform_inside"], [s.material.name for s in cube.material_slots])
        selected = np.zeros(len(mesh.polygons), dtype=bool)
        mesh.polygons.foreach_get("select", selected)
        materials = np.zeros(len(mesh.polygons), dtype=np.int64)
        mesh.polygons.foreach_get("material_index", materials)
        # The insides of L, O, G and O at least.
        self.assertGreaterEqual(selected.sum(), 4)
        np.testing.assert_array_equal(selected, materials == 1)
        normals = np.zeros(len(mesh.polygons) * 3)
        mesh.polygons.foreach_get("normal", normals)
        self.assertTrue((normals.reshape(-1, 3)[selected][:, 2] > 0.999).all())
        # Every corner's UV, in both layers, is the affine UV of its position on its
        # side of the cube, as the cube's own corners give it; every vertex's colour
        # the linear one of its position.
        positions, indices, uvs = corner_arrays(mesh)
        self.assertEqual(["UVMap", "Detail"], list(uvs))
        self.assertEqual("Detail", mesh.uv_layers.active.name)
        sides_after = self.sides(mesh, len(mesh.polygons))
        for name, side in itertools.product(uvs, set(sides_before)):
            corners = np.flatnonzero(sides_before == side)
            points = np.hstack([before_positions[before_indices[corners]], np.ones((len(corners), 1))])
            affine = np.linalg.lstsq(points, before_uvs[name][corners], rcond=None)[0]
            after = np.flatnonzero(sides_after == side)
            moved = np.hstack([positions[indices[after]], np.ones((len(after), 1))])
            np.testing.assert_allclose(moved @ affine, uvs[name][after], atol=2e-5)
        colors = np.empty(len(mesh.vertices) * 4)
        mesh.color_attributes["Tint"].data.foreach_get("color", colors)
        np.testing.assert_allclose(colors.reshape(-1, 4)[:, :3], (positions + 2) / 4, atol=1e-5)
        self.assertEqual('POINT', mesh.color_attributes["Tint"].domain)
        for vertex in mesh.vertices:
            weights = [member.weight for member in vertex.groups]
            expected = [(vertex.co.z + 2) / 4] if vertex.co.z > 0 else []
            np.testing.assert_allclose(weights, expected, atol=1e-5)

    @staticmethod
    def sides(mesh, faces):
        """Per corner, which of the cube's six sides its face lies on."""
        totals = np.zeros(faces, dtype=np.int64)
        mesh.polygons.foreach_get("loop_total", totals)
        normals = np.zeros(faces * 3)
        mesh.polygons.foreach_get("normal", normals)
        normals = normals.reshape(-1, 3)
        axis = np.abs(normals).argmax(axis=1)
        side = 2 * axis + (normals[np.arange(faces), axis] > 0)
        return np.repeat(side, totals)

    def test_bezier_circle_and_loose_edges_cut_a_grid(self):
        clear_scene()
        bpy.ops.mesh.primitive_grid_add(x_subdivisions=20, y_subdivisions=20, size=4)
        grid = bpy.context.active_object
        bpy.ops.curve.primitive_bezier_circle_add(radius=1.1, location=(0.07, 0.03, 1))
        circle = bpy.context.active_object
        select_for_cut(circle, grid)
        self.assertEqual({'FINISHED'}, bpy.ops.mesh.slitform_cut(mark='SEAM', sel_level='2',
                                                                 weld_on=True))
        circle_length = self.marked_length(grid.data, "use_seam")
        # Flattened with 6 points per quarter the circle's polygon is 0.3% short of it;
        # its four knots alone would be 10% short.
        self.assertAlmostEqual(2 * math.pi * 1.1, circle_length, delta=0.01 * 2 * math.pi * 1.1)
        # A square of loose edges, moved, turned and scaled with its object, across the
        # seams: the pieces of the seams it splits stay seams.
        edges = bpy.data.meshes.new("square")
        edges.from_pydata([(-1, -1, 0), (1, -1, 0), (1, 1, 0), (-1, 1, 0)],
                          [(0, 1), (1, 2), (2, 3), (3, 0)], [])
        square = bpy.data.objects.new("square", edges)
        bpy.context.collection.objects.link(square)
        square.location = (0.5, 0.2, 2)
        square.rotation_euler = (0, 0, 0.4)
        square.scale = (0.5, 0.5, 0.5)
        select_for_cut(square, grid)
        self.assertEqual({'FINISHED'}, bpy.ops.mesh.slitform_cut(mark='SHARP', weld_on=True))
        self.assertAlmostEqual(4.0, self.marked_length(grid.data, "use_edge_sharp"), places=4)
        self.assertAlmostEqual(circle_length, self.marked_length(grid.data, "use_seam"), places=4)

    def test_refusals_are_reports_and_leave_the_mesh(self):
        def nurbs():
            bpy.ops.curve.primitive_nurbs_circle_add(location=(0, 0, 1))
            return bpy.context.active_object

        def faces_only():
            bpy.ops.mesh.primitive_plane_add(size=1, location=(0, 0, 1))
            return bpy.context.active_object

        def with_shape_keys(grid):
            grid.shape_key_add(name="Basis")
            bpy.ops.curve.primitive_bezier_circle_add(location=(0, 0, 1))
            return bpy.context.active_object

        cases = (
            (lambda grid: None, "select a curve, text or loose-edge mesh"),
            (lambda grid: nurbs(), "NURBS splines"),
            (lambda grid: faces_only(), "no lines to cut with"),
            (with_shape_keys, "has shape keys"),
        )
        for make_shape, message in cases:
            with self.subTest(message):
                clear_scene()
                bpy.ops.mesh.primitive_grid_add(x_subdivisions=4, y_subdivisions=4, size=4)
                grid = bpy.context.active_object
                shape = make_shape(grid)
                bpy.ops.object.select_all(action='DESELECT')
                if shape is not None:
                    shape.select_set(True)
                grid.select_set(True)
                bpy.context.view_layer.objects.active = grid
                with self.assertRaisesRegex(RuntimeError, "Slitform: .*" + message):
                    bpy.ops.mesh.slitform_cut()
                self.assertEqual(16, len(grid.data.polygons))

    @staticmethod
    def marked_length(mesh, flag):
        ends = np.zeros(len(mesh.edges) * 2, dtype=np.int64)
        mesh.edges.foreach_get("vertices", ends)
        marked = np.zeros(len(mesh.edges), dtype=bool)
        mesh.edges.foreach_get(flag, marked)
        positions = np.zeros(len(mesh.vertices) * 3)
        mesh.vertices.foreach_get("co", positions)
        positions = positions.reshape(-1, 3)
        pairs = ends.reshape(-1, 2)[marked]
        return float(np.linalg.norm(positions[pairs[:, 0]] - positions[pairs[:, 1]], axis=1).sum())


if __name__ == "__main__":
    outcome = unittest.main(argv=["blender"], exit=False).result
    sys.exit(0 if outcome.wasSuccessful() else 1)
