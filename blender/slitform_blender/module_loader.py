"""Loads the slitform module and finds the plug-in that ship inside the add-on."""
import ctypes
import importlib
import os
import re
import sys

LIB_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lib")
PLUGIN = os.path.join(LIB_DIR, "plugins", "Slitform.dlm")


class ModuleMismatch(RuntimeError):
    """The shipped module cannot run in this Blender: the message says why."""


def _module_file():
    for name in sorted(os.listdir(LIB_DIR)) if os.path.isdir(LIB_DIR) else []:
        if name.startswith("slitform.") and name.endswith(".so"):
            return name
    return None


def load():
    """The slitform module, loaded once; raises ModuleMismatch with a sentence a
    Blender user can act on when the add-on's module does not fit this Blender."""
    if "slitform" in sys.modules:
        return sys.modules["slitform"]
    name = _module_file()
    if name is None:
        raise ModuleMismatch("the add-on holds no slitform module (lib/ is missing or empty): "
                             "reinstall it from the zip the build made")
    running = "cpython-%d%d-" % sys.version_info[:2]
    if running not in name:
        tag = re.search(r"cpython-(\d)(\d+)-", name)
        built = "Python %s.%s" % tag.groups() if tag else "another Python"
        raise ModuleMismatch("the add-on's module was built for %s, but this Blender runs "
                             "Python %d.%d: build Slitform for Blender's Python and reinstall "
                             "the add-on" % (built, *sys.version_info[:2]))
    # The module and the plug-in need the host's library; loaded first, by its own
    # name, it is the one both use wherever the build put them.
    ctypes.CDLL(os.path.join(LIB_DIR, "libslitform_host.so"), mode=ctypes.RTLD_GLOBAL)
    if LIB_DIR not in sys.path:
        sys.path.insert(0, LIB_DIR)
    try:
        return importlib.import_module("slitform")
    except ImportError as error:
        raise ModuleMismatch("the add-on's module does not load in this Blender (%s): build "
                             "Slitform on this system and reinstall the add-on" % error)
