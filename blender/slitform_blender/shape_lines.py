"""The lines of a curve, text or loose-edge mesh object, in the object's own space, as
the slitform module takes them (dicts of points, closed, and Bezier handles)."""
import numpy as np


class ShapeError(ValueError):
    """The object cannot serve as a shape: the message says why."""


def _spline_lines(curve):
    lines = []
    for spline in curve.splines:
        if spline.type == 'BEZIER':
            knots = spline.bezier_points
            if len(knots) < 2:
                continue
            points = np.empty((len(knots), 3))
            into = np.empty((len(knots), 3))
            out = np.empty((len(knots), 3))
            knots.foreach_get("co", points.ravel())
            knots.foreach_get("handle_left", into.ravel())
            knots.foreach_get("handle_right", out.ravel())
            lines.append({"points": points, "in": into, "out": out,
                          "closed": bool(spline.use_cyclic_u)})
        elif spline.type == 'POLY':
            if len(spline.points) < 2:
                continue
            weighted = np.empty((len(spline.points), 4))
            spline.points.foreach_get("co", weighted.ravel())
            lines.append({"points": weighted[:, :3].copy(), "closed": bool(spline.use_cyclic_u)})
        else:
            raise ShapeError("NURBS splines are not taken as they are: convert the curve to "
                             "Bezier or Poly (Curve > Set Spline Type) first")
    return lines


def _loose_edge_lines(mesh):
    """Chains of the edges that bound no face: open between ends and forks, closed
    around loops."""
    in_faces = set()
    for polygon in mesh.polygons:
        in_faces.update(polygon.edge_keys)
    neighbours = {}
    for edge in mesh.edges:
        a, b = edge.vertices
        if edge.key in in_faces or a == b:
            continue
        neighbours.setdefault(a, []).append(b)
        neighbours.setdefault(b, []).append(a)
    used = set()

    def walk(start, step):
        chain = [start, step]
        used.add(frozenset((start, step)))
        while len(neighbours[chain[-1]]) == 2 and chain[-1] != start:
            following = [v for v in neighbours[chain[-1]]
                         if frozenset((chain[-1], v)) not in used]
            if not following:
                break
            used.add(frozenset((chain[-1], following[0])))
            chain.append(following[0])
        return chain

    chains = []
    for vertex, around in neighbours.items():
        if len(around) != 2:
            for other in around:
                if frozenset((vertex, other)) not in used:
                    chains.append((walk(vertex, other), False))
    for vertex, around in neighbours.items():
        for other in around:
            if frozenset((vertex, other)) not in used:
                chain = walk(vertex, other)
                chains.append((chain[:-1], True))
    positions = np.empty((len(mesh.vertices), 3))
    mesh.vertices.foreach_get("co", positions.ravel())
    return [{"points": positions[chain], "closed": closed} for chain, closed in chains]


def shape_lines(obj, depsgraph):
    """The object's lines in its own space; raises ShapeError when it has none."""
    if obj.type == 'CURVE':
        lines = _spline_lines(obj.data)
    elif obj.type == 'FONT':
        curve = obj.evaluated_get(depsgraph).to_curve(depsgraph)
        try:
            lines = _spline_lines(curve)
        finally:
            obj.evaluated_get(depsgraph).to_curve_clear()
    elif obj.type == 'MESH':
        lines = _loose_edge_lines(obj.data)
    else:
        raise ShapeError("%s is a %s: the shape must be a curve, a text or a mesh of loose "
                         "edges" % (obj.name, obj.type.lower()))
    if not lines:
        raise ShapeError("%s has no lines to cut with (a curve needs two points, a mesh "
                         "edges that bound no face)" % obj.name)
    return lines
