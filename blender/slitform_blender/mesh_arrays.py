"""A Blender mesh as the slitform module's arrays, and a cut result written back into
the same mesh with what it carried: UV layers, custom split normals, colour
attributes, vertex group weights, material indices, and the seam and sharp marks of
edges the cut left."""
import numpy as np


class MeshError(ValueError):
    """The mesh cannot be cut as it is: the message says what to do."""


def _read(collection, attribute, count, width, dtype):
    values = np.empty(count * width, dtype=dtype)
    collection.foreach_get(attribute, values)
    return values.reshape(count, width) if width > 1 else values


def point_layers(obj):
    """Every per-vertex value that must follow the cut, three numbers to a layer, as
    (kind, what, (n, 3)): colour attributes stored per vertex ("color", (name, type))
    and vertex group weights, three groups to a layer ("groups", group indices)."""
    mesh = obj.data
    count = len(mesh.vertices)
    layers = [("color", (attribute.name, attribute.data_type),
               _read(attribute.data, "color", count, 4, np.float32)[:, :3].copy())
              for attribute in mesh.color_attributes if attribute.domain == 'POINT']
    groups = len(obj.vertex_groups)
    if groups:
        weights = np.zeros((count, groups + (-groups) % 3), dtype=np.float32)
        for vertex in mesh.vertices:
            for member in vertex.groups:
                if member.group < groups:
                    weights[vertex.index, member.group] = member.weight
        for first in range(0, groups, 3):
            layers.append(("groups", list(range(first, min(first + 3, groups))),
                           weights[:, first:first + 3].copy()))
    return layers


def corner_layers(mesh):
    """Every per-corner value that must follow the cut, as (kind, name, type, (L, 3)):
    UV layers and colour attributes stored per corner, in the mesh's order."""
    corners = len(mesh.loops)
    layers = []
    for layer in mesh.uv_layers:
        uv = _read(layer.data, "uv", corners, 2, np.float32)
        layers.append(("uv", layer.name, None, np.hstack([uv, np.zeros((corners, 1), np.float32)])))
    for attribute in mesh.color_attributes:
        if attribute.domain == 'CORNER':
            rgba = _read(attribute.data, "color", corners, 4, np.float32)
            layers.append(("color", attribute.name, attribute.data_type, rgba[:, :3].copy()))
    return layers


class MeshArrays:
    """What the cut takes from a mesh, and what writing the result back needs."""

    def __init__(self, obj):
        mesh = obj.data
        if mesh.shape_keys is not None:
            raise MeshError("%s has shape keys, which a cut cannot carry: apply or remove "
                            "them first" % obj.name)
        count = len(mesh.vertices)
        self.positions = _read(mesh.vertices, "co", count, 3, np.float32)
        starts = _read(mesh.polygons, "loop_start", len(mesh.polygons), 1, np.int64)
        totals = _read(mesh.polygons, "loop_total", len(mesh.polygons), 1, np.int64)
        self.offsets = np.concatenate([[0], np.cumsum(totals)])
        # Face after face, whatever order the mesh stores its corners in.
        self.corners = np.repeat(starts - self.offsets[:-1], totals) + np.arange(self.offsets[-1])
        self.indices = _read(mesh.loops, "vertex_index", len(mesh.loops), 1, np.int32)[self.corners]
        self.materials = _read(mesh.polygons, "material_index", len(mesh.polygons), 1, np.int32)
        self.active_uv = mesh.uv_layers.active.name if mesh.uv_layers.active else None
        active_color = mesh.color_attributes.active_color
        self.active_color = active_color.name if active_color is not None else None
        self.layers = [(kind, name, data_type, values[self.corners])
                       for kind, name, data_type, values in corner_layers(mesh)]
        self.normals = None
        self.auto_smooth_angle = mesh.auto_smooth_angle
        if mesh.has_custom_normals:
            mesh.calc_normals_split()
            self.normals = _read(mesh.loops, "normal", len(mesh.loops), 3, np.float32)[self.corners]
        self.points = point_layers(obj)
        self.group_names = [group.name for group in obj.vertex_groups]
        self.active_group = obj.vertex_groups.active_index
        self.material_names = [slot.material.name if slot.material else ""
                               for slot in obj.material_slots]
        self.name = obj.name
        self.marks = _edge_marks(mesh, self.positions)

    def cuts(self):
        """How many cuts carry every layer: each takes one corner layer in its UV slot
        and one vertex layer in its colour slot."""
        return max(1, len(self.layers), len(self.points))

    def slitform_mesh(self, slitform, layer):
        """The module's mesh for cut number layer."""
        colors = self.points[layer][2] if layer < len(self.points) else None
        return slitform.Mesh(self.positions, (self.offsets, self.indices),
                             materials=self.materials.astype(np.uint16),
                             uvs=self.layers[layer][3] if layer < len(self.layers) else None,
                             normals=self.normals if layer == 0 else None, colors=colors,
                             material_names=self.material_names, name=self.name)


def _edge_marks(mesh, positions):
    """Seam and sharp edges as pairs of end positions."""
    count = len(mesh.edges)
    ends = _read(mesh.edges, "vertices", count, 2, np.int32)
    marks = {}
    for flag in ("use_seam", "use_edge_sharp"):
        chosen = _read(mesh.edges, flag, count, 1, bool)
        marks[flag] = positions[ends[chosen]]
    return marks


class EdgeIndex:
    """The mesh's edges by their two vertex indices, in either order."""

    def __init__(self, mesh):
        ends = _read(mesh.edges, "vertices", len(mesh.edges), 2, np.int64)
        self.ends = ends
        self.width = max(len(mesh.vertices), 1)
        keys = ends.min(axis=1) * self.width + ends.max(axis=1)
        self.order = np.argsort(keys)
        self.sorted_keys = keys[self.order]

    def find(self, pairs):
        """The edges joining the (k, 2) vertex pairs; pairs no edge joins are left out."""
        pairs = np.asarray(pairs, dtype=np.int64).reshape(-1, 2)
        if not len(self.sorted_keys):
            return np.zeros(0, dtype=np.int64)
        keys = pairs.min(axis=1) * self.width + pairs.max(axis=1)
        at = np.minimum(np.searchsorted(self.sorted_keys, keys), len(self.sorted_keys) - 1)
        return self.order[at[self.sorted_keys[at] == keys]]


def _as_keys(points):
    """Each float32 point as one comparable value, equal only for equal points."""
    points = np.ascontiguousarray(points, dtype=np.float32).reshape(-1, 3)
    return points.view(np.dtype((np.void, 12))).ravel()


def _flags(count, chosen):
    flags = np.zeros(count, dtype=bool)
    flags[np.asarray(chosen, dtype=np.int64)] = True
    return flags


def write_result(obj, before, results, mark):
    """Replaces obj's geometry by results[0]'s, with before's corner layers from
    results (layer i from results[i]), its normals, colours, marks and the result's
    selection; mark is 'NONE', 'SEAM' or 'SHARP' for the cut lines."""
    result = results[0]
    cut = result.mesh
    mesh = obj.data
    mesh.clear_geometry()
    offsets = cut.face_offsets.astype(np.int64)
    mesh.vertices.add(len(cut.vertices))
    mesh.vertices.foreach_set("co", np.ascontiguousarray(cut.vertices, np.float32).ravel())
    mesh.loops.add(len(cut.face_indices))
    mesh.loops.foreach_set("vertex_index", cut.face_indices.astype(np.int32))
    mesh.polygons.add(len(offsets) - 1)
    mesh.polygons.foreach_set("loop_start", offsets[:-1].astype(np.int32))
    mesh.polygons.foreach_set("loop_total", np.diff(offsets).astype(np.int32))
    mesh.polygons.foreach_set("material_index", cut.materials.astype(np.int32))
    mesh.update(calc_edges=True)

    for (kind, name, data_type, _), carried in zip(before.layers, results):
        values = carried.mesh.uvs
        if kind == "uv":
            layer = mesh.uv_layers.new(name=name, do_init=False)
            layer.data.foreach_set("uv", np.ascontiguousarray(values[:, :2], np.float32).ravel())
        else:
            layer = mesh.color_attributes.new(name, data_type, 'CORNER')
            rgba = np.hstack([values, np.ones((len(values), 1), np.float32)])
            layer.data.foreach_set("color", np.ascontiguousarray(rgba, np.float32).ravel())
    if before.active_uv is not None:
        mesh.uv_layers.active = mesh.uv_layers[before.active_uv]
    # The mesh holds its vertex groups' names too: cleared, they are made again.
    for name in before.group_names:
        if name not in obj.vertex_groups:
            obj.vertex_groups.new(name=name)
    if before.group_names:
        obj.vertex_groups.active_index = before.active_group
    for (kind, what, _), carried in zip(before.points, results):
        values = carried.mesh.colors
        if kind == "groups":
            _set_weights(obj, what, values)
            continue
        layer = mesh.color_attributes.new(what[0], what[1], 'POINT')
        rgba = np.hstack([values, np.ones((len(values), 1), np.float32)])
        layer.data.foreach_set("color", np.ascontiguousarray(rgba, np.float32).ravel())
    if before.active_color is not None:
        mesh.color_attributes.active_color = mesh.color_attributes[before.active_color]
    if before.normals is not None and cut.normals is not None:
        mesh.use_auto_smooth = True
        mesh.auto_smooth_angle = before.auto_smooth_angle
        mesh.normals_split_custom_set(np.ascontiguousarray(cut.normals, np.float32).reshape(-1, 3))

    edges = EdgeIndex(mesh)
    _restore_marks(mesh, edges, before.marks, cut.vertices, before.positions)
    cut_lines = edges.find(result.cut_edges)
    if mark != 'NONE':
        flag = "use_seam" if mark == 'SEAM' else "use_edge_sharp"
        values = _read(mesh.edges, flag, len(mesh.edges), 1, bool)
        values[cut_lines] = True
        mesh.edges.foreach_set(flag, values)
    selected_edges = np.union1d(edges.find(result.selected_edges), cut_lines)
    mesh.vertices.foreach_set("select", _flags(len(mesh.vertices), result.selected_vertices))
    mesh.edges.foreach_set("select", _flags(len(mesh.edges), selected_edges))
    mesh.polygons.foreach_set("select", _flags(len(mesh.polygons), result.selected_faces))
    mesh.update()


def _set_weights(obj, groups, values):
    """Gives the vertices their weights in the object's vertex groups (a column of
    values each); a weight of 0 leaves the vertex out, as it was."""
    for column, group in enumerate(groups):
        weights = values[:, column]
        members = np.flatnonzero(weights > 0)
        # One call per distinct weight: a group painted flat costs one.
        distinct, which = np.unique(weights[members], return_inverse=True)
        order = np.argsort(which, kind="stable")
        start = 0
        for weight, end in zip(distinct, np.cumsum(np.bincount(which, minlength=len(distinct)))):
            obj.vertex_groups[group].add(members[order[start:end]].tolist(), float(weight),
                                         'REPLACE')
            start = end


def _restore_marks(mesh, edges, marks, positions, old_positions):
    """Marks again the edges whose two ends are still joined by an edge, and the
    pieces of marked edges the cut split: edges with a new end lying along one."""
    if not any(len(segments) for segments in marks.values()):
        return
    keys = _as_keys(positions)
    is_new = ~np.isin(keys, _as_keys(old_positions))
    touched = np.flatnonzero(is_new[edges.ends].any(axis=1))
    for flag, segments in marks.items():
        if not len(segments):
            continue
        values = _read(mesh.edges, flag, len(mesh.edges), 1, bool)
        # The vertices at the marked edges' ends (a cut may have left copies).
        wanted = np.flatnonzero(np.isin(keys, _as_keys(segments)))
        at = {}
        for index in wanted:
            at.setdefault(keys[index].tobytes(), []).append(index)
        pairs = [(i, j) for a, b in segments
                 for i in at.get(a.tobytes(), ()) for j in at.get(b.tobytes(), ())]
        values[edges.find(pairs)] = True
        if len(touched):
            values[touched[_along(positions[edges.ends[touched]], segments)]] = True
        mesh.edges.foreach_set(flag, values)


def _along(edges, segments):
    """For (e, 2, 3) edge ends, whether both ends lie on one of the (s, 2, 3)
    segments, within single precision of its length."""
    result = np.zeros(len(edges), dtype=bool)
    segments = segments.astype(np.float64)
    low, high = segments.min(axis=1), segments.max(axis=1)
    reach = 1e-5 * np.linalg.norm(high - low, axis=1)[:, None]
    low, high = low - reach, high + reach
    # Edges come face by face, so a block of them covers a small box: only the
    # segments meeting that box are tried.
    for first in range(0, len(edges), 64):
        block = edges[first:first + 64].astype(np.float64)
        near = np.flatnonzero(((low <= block.max(axis=(0, 1))) &
                               (high >= block.min(axis=(0, 1)))).all(axis=1))
        if not len(near):
            continue
        start = segments[near, 0]
        direction = segments[near, 1] - start
        length2 = np.maximum((direction * direction).sum(axis=1), 1e-30)
        inside = np.ones((len(block), len(near)), dtype=bool)
        for end in (0, 1):
            offset = block[:, end, None, :] - start[None]
            t = (offset * direction[None]).sum(axis=2) / length2[None]
            gap = offset - t[..., None] * direction[None]
            inside &= (t > -1e-6) & (t < 1 + 1e-6) & \
                ((gap * gap).sum(axis=2) <= 1e-10 * length2[None])
        result[first:first + 64] = inside.any(axis=1)
    return result
