# The system interpreter the Python module is built for (Debian's pybind11 and
# NumPy belong to it), and where cmake --install puts the module: where that
# interpreter looks, decided by the prefix at install time (so that the .deb, made
# under /usr, and an install under /usr/local both land right):
# lib/python3/dist-packages under /usr, lib/python3.X/dist-packages elsewhere.
# SLITFORM_PYTHON_DIR, when set, is used instead. Either way the module sits two
# folders below lib, as SLITFORM_PYTHON_TO_LIBDIR (from it to the library folder)
# relies on.
if(NOT Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
  set(Python3_EXECUTABLE /usr/bin/python3)
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter Development.Module)
include(GNUInstallDirs)
set(SLITFORM_PYTHON_DIR "" CACHE STRING
  "Where cmake --install puts the Python module, relative to the prefix (empty: by the prefix)")
set(slitform_python_versioned lib/python${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}/dist-packages)
file(RELATIVE_PATH SLITFORM_PYTHON_TO_LIBDIR /${slitform_python_versioned} /${CMAKE_INSTALL_LIBDIR}/slitform)
