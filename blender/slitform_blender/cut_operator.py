"""The "Slitform Cut" operator: cuts the active mesh by another selected curve, text or
loose-edge mesh, with the modifier's parameters in its redo panel."""
import threading

import bpy
import numpy as np
from bpy.props import BoolProperty, EnumProperty, FloatProperty, IntProperty

from . import mesh_arrays, module_loader, shape_lines

# Labels, defaults and ranges as the modifier's Parameters rollout has them; a test
# holds them to the plug-in's own list.
PARAMETERS = ("remove_unused", "weld_on", "weld", "open", "local", "collinear_on", "collinear",
              "through", "matid_on", "matid", "sel_level", "min_angle")
SELECTION_LEVELS = (
    ('4', "Do not change", "Keep the selection level the mesh came in with"),
    ('0', "Object", "Hand the result on at object level"),
    ('1', "Verts", "Hand the result on at vertex level (vertex select mode)"),
    ('2', "Edges", "Hand the result on at edge level (edge select mode)"),
    ('3', "Polygons", "Hand the result on at face level (face select mode)"),
)
# Above this many faces the cut runs beside Blender's event loop, so that the
# progress shows and Esc stops it.
BACKGROUND_FACES = 20000


class CutCancelled(Exception):
    """Raised from the progress callback when Esc was pressed."""


class SLITFORM_OT_cut(bpy.types.Operator):
    """Cut the active mesh along the lines of another selected curve, text or loose-edge mesh"""
    bl_idname = "mesh.slitform_cut"
    bl_label = "Slitform Cut"
    bl_options = {'REGISTER', 'UNDO'}

    local: BoolProperty(name="Local projection", default=False,
                        description="Cut every face in its own plane instead of along one "
                                    "projection direction")
    through: BoolProperty(name="Through", default=False,
                          description="Also cut the faces that look away from the shape, "
                                      "through the whole object")
    open: BoolProperty(name="Open", default=False,
                       description="Delete the faces inside closed shape lines, cutting holes")
    min_angle: FloatProperty(name="Min angle", default=27.0, min=0.0, max=33.0,
                             description="The smallest angle (degrees) refinement aims for in "
                                         "the new triangles")
    remove_unused: BoolProperty(name="Unused edges", default=True,
                                description="Remove the triangulation's edges that no shape "
                                            "line needs, so that cut faces stay polygons")
    collinear_on: BoolProperty(name="Coll. verts", default=False,
                               description="Remove cut vertices on a straight run of edges")
    collinear: FloatProperty(name="Collinear", default=0.001, min=0.0, max=1e7, precision=4,
                             description="How far (object units) a vertex may lie off a run")
    matid_on: BoolProperty(name="Mat ID", default=False,
                           description="Give the faces inside closed lines the material slot "
                                       "Mat ID")
    matid: IntProperty(name="Mat ID", default=1, min=1, max=999,
                       description="The material slot, counting from 1; a new slot is named "
                                   "slitform_inside")
    weld_on: BoolProperty(name="Weld", default=False,
                          description="Weld the cut faces to their neighbours, so that the "
                                      "mesh stays in one piece along the cut")
    weld: FloatProperty(name="Weld", default=0.001, min=0.0, max=1e7, precision=4,
                        description="How close (object units) border vertices must be to join")
    sel_level: EnumProperty(name="Output selection level", items=SELECTION_LEVELS, default='4')
    mark: EnumProperty(name="Mark cut lines",
                       items=(('NONE', "Nothing", "Leave the cut lines unmarked"),
                              ('SEAM', "Seam", "Mark the cut lines as UV seams"),
                              ('SHARP', "Sharp", "Mark the cut lines as sharp edges")),
                       default='NONE')

    @classmethod
    def poll(cls, context):
        obj = context.active_object
        return obj is not None and obj.type == 'MESH' and context.mode in {'OBJECT', 'EDIT_MESH'}

    def draw(self, context):
        layout = self.layout
        layout.prop(self, "local")
        row = layout.row()
        row.prop(self, "through")
        row.prop(self, "open")
        layout.prop(self, "min_angle")
        box = layout.box()
        box.label(text="Remove")
        box.prop(self, "remove_unused")
        row = box.row()
        row.prop(self, "collinear_on")
        row.prop(self, "collinear", text="")
        for switch, value in (("matid_on", "matid"), ("weld_on", "weld")):
            row = layout.row()
            row.prop(self, switch)
            sub = row.row()
            sub.enabled = getattr(self, switch)
            sub.prop(self, value, text="")
        layout.prop(self, "sel_level")
        layout.prop(self, "mark")

    def _parameters(self):
        values = {name: getattr(self, name) for name in PARAMETERS}
        values["sel_level"] = int(self.sel_level)
        return values

    def _prepare(self, context):
        """Reads everything the cut needs from Blender; returns None after a report."""
        try:
            self.slitform = module_loader.load()
        except module_loader.ModuleMismatch as error:
            self.report({'ERROR'}, "Slitform: %s" % error)
            return None
        target = context.active_object
        shapes = [o for o in context.selected_objects
                  if o is not target and o.type in {'CURVE', 'FONT', 'MESH'}]
        if not shapes:
            self.report({'ERROR'}, "Slitform: select a curve, text or loose-edge mesh as the "
                                   "shape, then the mesh to cut last (active)")
            return None
        self.was_editing = context.mode == 'EDIT_MESH'
        if self.was_editing:
            bpy.ops.object.mode_set(mode='OBJECT')
        depsgraph = context.evaluated_depsgraph_get()
        try:
            lines = shape_lines.shape_lines(shapes[0], depsgraph)
            before = mesh_arrays.MeshArrays(target)
        except (shape_lines.ShapeError, mesh_arrays.MeshError) as error:
            self.report({'ERROR'}, "Slitform: %s" % error)
            self._restore_mode()
            return None
        # The shape in the mesh's own space, as rows (x, y, z axes, translation).
        into_mesh = np.array(target.matrix_world.inverted() @ shapes[0].matrix_world)
        placement = into_mesh[:3, :4].T.copy()
        return target, before, lines, placement

    def _restore_mode(self):
        if self.was_editing:
            bpy.ops.object.mode_set(mode='EDIT')

    def _cut_all(self, before, lines, placement, progress):
        """As many cuts as the layers need (see MeshArrays.cuts), all alike."""
        results = []
        for layer in range(before.cuts()):
            results.append(self.slitform.cut(before.slitform_mesh(self.slitform, layer), lines,
                                             shape_transform=placement,
                                             plugin=module_loader.PLUGIN, progress=progress,
                                             **self._parameters()))
            if not np.array_equal(results[-1].mesh.face_indices, results[0].mesh.face_indices):
                raise self.slitform.Error("the cut gave another mesh for another layer")
        return results

    def _finish(self, context, target, before, results):
        _ensure_material_slot(target, self.matid if self.matid_on else 0)
        mesh_arrays.write_result(target, before, results, self.mark)
        level = int(self.sel_level)
        if level in (1, 2, 3):
            context.tool_settings.mesh_select_mode = tuple(i == level for i in (1, 2, 3))
        self._restore_mode()
        report = results[0].report
        for warning in report["warnings"]:
            self.report({'WARNING'}, "Slitform: %s" % warning)
        self.report({'INFO'}, "Slitform: %d faces cut, %d faces selected" %
                    (report["faces_cut"], len(results[0].selected_faces)))
        return {'FINISHED'}

    def execute(self, context):
        prepared = self._prepare(context)
        if prepared is None:
            return {'CANCELLED'}
        target, before, lines, placement = prepared
        wm = context.window_manager
        wm.progress_begin(0, 1000)

        def progress(done, total, seconds):
            wm.progress_update(int(1000 * done / max(total, 1)))

        try:
            results = self._cut_all(before, lines, placement, progress)
        except self.slitform.Error as error:
            self.report({'ERROR'}, "Slitform: %s" % error)
            self._restore_mode()
            return {'CANCELLED'}
        finally:
            wm.progress_end()
        return self._finish(context, target, before, results)

    def invoke(self, context, event):
        obj = context.active_object
        if obj is None or len(obj.data.polygons) <= BACKGROUND_FACES or context.window is None:
            return self.execute(context)
        prepared = self._prepare(context)
        if prepared is None:
            return {'CANCELLED'}
        self.prepared = prepared
        self.fraction = 0.0
        self.outcome = None
        self.cancel = threading.Event()
        _, before, lines, placement = prepared

        def progress(done, total, seconds):
            self.fraction = done / max(total, 1)
            if self.cancel.is_set():
                raise CutCancelled()

        def run():
            try:
                self.outcome = self._cut_all(before, lines, placement, progress)
            except BaseException as error:  # reported on the main thread
                self.outcome = error

        self.worker = threading.Thread(target=run, name="slitform-cut", daemon=True)
        self.worker.start()
        wm = context.window_manager
        self.timer = wm.event_timer_add(0.1, window=context.window)
        wm.progress_begin(0, 1000)
        context.workspace.status_text_set("Slitform: cutting (Esc cancels)")
        wm.modal_handler_add(self)
        return {'RUNNING_MODAL'}

    def modal(self, context, event):
        if event.type == 'ESC':
            self.cancel.set()
        if event.type != 'TIMER':
            return {'RUNNING_MODAL'}
        wm = context.window_manager
        wm.progress_update(int(1000 * self.fraction))
        if self.worker.is_alive():
            return {'RUNNING_MODAL'}
        wm.event_timer_remove(self.timer)
        wm.progress_end()
        context.workspace.status_text_set(None)
        target, before, _, _ = self.prepared
        outcome = self.outcome
        # Esc wins even when the cut ended before it was heard.
        if self.cancel.is_set() or isinstance(outcome, CutCancelled):
            self.report({'WARNING'}, "Slitform: cancelled, the mesh is as it was")
            self._restore_mode()
            return {'CANCELLED'}
        if isinstance(outcome, BaseException):
            self.report({'ERROR'}, "Slitform: %s" % outcome)
            self._restore_mode()
            return {'CANCELLED'}
        return self._finish(context, target, before, outcome)


def _ensure_material_slot(obj, matid):
    """With matid (from 1) past the object's slots, adds slots up to it, the last one
    holding the material slitform_inside."""
    if matid <= len(obj.material_slots):
        return
    while len(obj.material_slots) < matid - 1:
        obj.data.materials.append(None)
    inside = bpy.data.materials.get("slitform_inside") or bpy.data.materials.new("slitform_inside")
    obj.data.materials.append(inside)
