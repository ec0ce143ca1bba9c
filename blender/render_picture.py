"""Renders the README's picture of the add-on at work: a plate with "LOGO" cut through
it by a text object, in Blender's Workbench engine.
    blender -b --factory-startup --python render_picture.py -- ZIP OUT.png
(with BLENDER_USER_SCRIPTS set to an empty folder)."""
import sys

import bpy

ZIP, OUT = sys.argv[sys.argv.index("--") + 1:][:2]

bpy.ops.preferences.addon_install(filepath=ZIP)
bpy.ops.preferences.addon_enable(module="slitform_blender")
for obj in list(bpy.data.objects):
    bpy.data.objects.remove(obj)

bpy.ops.mesh.primitive_cube_add(size=1)
plate = bpy.context.active_object
plate.scale = (4, 2.2, 0.3)
bpy.ops.object.transform_apply(scale=True)
bpy.ops.mesh.primitive_plane_add(size=20, location=(0, 0, -1))
bpy.ops.object.text_add(location=(0, 0, 1))
text = bpy.context.active_object
text.data.body = "LOGO"
text.data.size = 1.3
text.data.align_x = 'CENTER'
text.data.align_y = 'CENTER'
bpy.ops.object.select_all(action='DESELECT')
text.select_set(True)
plate.select_set(True)
bpy.context.view_layer.objects.active = plate
assert bpy.ops.mesh.slitform_cut(open=True, through=True, weld_on=True) == {'FINISHED'}
text.hide_render = True

scene = bpy.context.scene
scene.render.engine = 'BLENDER_WORKBENCH'
scene.display.shading.light = 'STUDIO'
scene.display.shading.color_type = 'SINGLE'
scene.display.shading.show_cavity = True
scene.display.shading.show_shadows = True
scene.render.resolution_x, scene.render.resolution_y = 800, 450
camera = bpy.data.objects.new("camera", bpy.data.cameras.new("camera"))
scene.collection.objects.link(camera)
camera.location = (2.4, -5.2, 4.6)
camera.rotation_euler = (-camera.location).to_track_quat('-Z', 'Y').to_euler()
scene.camera = camera
scene.render.filepath = OUT
bpy.ops.render.render(write_still=True)
