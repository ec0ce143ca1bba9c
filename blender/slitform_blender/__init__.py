"""Slitform for Blender: cuts the active mesh along the lines of a curve, text or
loose-edge mesh, so that they become real edges of the mesh."""
import bpy

from .cut_operator import SLITFORM_OT_cut

bl_info = {
    "name": "Slitform",
    "description": "Cut the active mesh along the lines of a curve, text or loose-edge mesh",
    "author": "Slitform developers",
    "version": (2, 0, 1),
    "blender": (3, 4, 0),
    "location": "3D Viewport > Object > Slitform Cut",
    "category": "Mesh",
}


def _menu_entry(self, context):
    self.layout.operator(SLITFORM_OT_cut.bl_idname)


def register():
    bpy.utils.register_class(SLITFORM_OT_cut)
    bpy.types.VIEW3D_MT_object.append(_menu_entry)
    bpy.types.VIEW3D_MT_edit_mesh.append(_menu_entry)


def unregister():
    bpy.types.VIEW3D_MT_edit_mesh.remove(_menu_entry)
    bpy.types.VIEW3D_MT_object.remove(_menu_entry)
    bpy.utils.unregister_class(SLITFORM_OT_cut)
