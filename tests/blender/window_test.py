"""What needs Blender's window: one undo after the add-on's cut gives the mesh back as
it was, and Esc during a large cut stops it and leaves the mesh as it was. Run under a
virtual X server with simulated events:
    xvfb-run blender --factory-startup --enable-event-simulate --python window_test.py -- ZIP
(with BLENDER_USER_SCRIPTS set to an empty folder); the exit code says how it went."""
import os
import sys
import threading
import traceback

import bpy

ZIP = sys.argv[sys.argv.index("--") + 1]


def fresh_scene_with(make_mesh, shape_location):
    for obj in list(bpy.data.objects):
        bpy.data.objects.remove(obj)
    make_mesh()
    name = bpy.context.active_object.name
    bpy.ops.curve.primitive_bezier_circle_add(radius=1, location=shape_location)
    circle = bpy.context.active_object
    target = bpy.data.objects[name]
    target.select_set(True)
    circle.select_set(True)
    bpy.context.view_layer.objects.active = target
    bpy.ops.ed.undo_push(message="selected")
    return name, circle


def undo_gives_the_mesh_back():
    # Called with undo on, as a click in the menu calls it.
    name, _ = fresh_scene_with(lambda: bpy.ops.mesh.primitive_plane_add(size=4), (0.1, 0, 1))
    assert bpy.ops.mesh.slitform_cut('INVOKE_DEFAULT', True) == {'FINISHED'}
    assert len(bpy.data.objects[name].data.polygons) > 1
    bpy.ops.ed.undo()
    assert len(bpy.data.objects[name].data.polygons) == 1


def escape_stops_a_large_cut(window):
    """A grid past the size that cuts beside the event loop, by a wavy circle."""
    name, circle = fresh_scene_with(
        lambda: bpy.ops.mesh.primitive_grid_add(x_subdivisions=400, y_subdivisions=400, size=4),
        (0.013, 0.021, 1))
    for knot in circle.data.splines[0].bezier_points:
        knot.handle_left_type = knot.handle_right_type = 'FREE'
    circle.data.resolution_u = 64
    faces = len(bpy.data.objects[name].data.polygons)
    assert bpy.ops.mesh.slitform_cut('INVOKE_DEFAULT', True, min_angle=33) == {'RUNNING_MODAL'}
    window.event_simulate(type='ESC', value='PRESS')
    return name, faces


def run_steps(steps):
    """Runs each step on a timer, so that Blender handles events in between; a step
    returning a callable waits until it says True."""
    state = {"waiting": None}

    def tick():
        try:
            if state["waiting"] is not None:
                if not state["waiting"]():
                    return 0.1
                state["waiting"] = None
            if not steps:
                finish(0)
            state["waiting"] = steps.pop(0)()
            return 0.1
        except Exception:
            traceback.print_exc()
            finish(1)

    bpy.app.timers.register(tick, first_interval=0.5)


def finish(code):
    sys.stdout.flush()
    sys.stderr.flush()
    os._exit(code)


def main():
    window = bpy.context.window_manager.windows[0]
    area = next(a for a in window.screen.areas if a.type == 'VIEW_3D')
    context = {}

    def install():
        bpy.ops.preferences.addon_install(filepath=ZIP)
        bpy.ops.preferences.addon_enable(module="slitform_blender")

    def undo():
        with bpy.context.temp_override(window=window, area=area):
            undo_gives_the_mesh_back()

    def escape():
        with bpy.context.temp_override(window=window, area=area):
            context["name"], context["faces"] = escape_stops_a_large_cut(window)
            # Done once the cut's thread has ended and the operator's timer (0.1 s) has
        # seen it.
        ticks = []
        return lambda: not any(t.name == "slitform-cut" for t in threading.enumerate()) and \
            len(ticks.append(1) or ticks) > 5

    def escaped():
        faces = len(bpy.data.objects[context["name"]].data.polygons)
        assert faces == context["faces"], (faces, context["faces"])

    run_steps([install, undo, escape, escaped])


main()
