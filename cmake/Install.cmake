# cmake --install: the two programs in bin, the plug-in and the host's libraries in
# lib/slitform, found through the programs' own place (RPATH $ORIGIN), and the C++
# interface (lib, include/slitform, the CMake package); CPack makes a Debian package
# of the same.
include(GNUInstallDirs)
set(slitform_libdir ${CMAKE_INSTALL_LIBDIR}/slitform)

set_target_properties(slitform slitform-studio PROPERTIES
  INSTALL_RPATH "$ORIGIN/../${slitform_libdir}")
set_target_properties(host_qt PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(Slitform PROPERTIES INSTALL_RPATH "$ORIGIN/..")

install(TARGETS slitform slitform-studio RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS host host_qt LIBRARY DESTINATION ${slitform_libdir})
install(TARGETS Slitform LIBRARY DESTINATION ${slitform_libdir}/plugins)

# The C++ interface: the shared library, its headers and the CMake package.
include(CMakePackageConfigHelpers)
install(TARGETS slitform_library EXPORT SlitformTargets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/slitform DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
set(slitform_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Slitform)
install(EXPORT SlitformTargets NAMESPACE Slitform:: DESTINATION ${slitform_package_dir})
file(WRITE ${CMAKE_BINARY_DIR}/SlitformConfig.cmake
  "include(\"\${CMAKE_CURRENT_LIST_DIR}/SlitformTargets.cmake\")\n")
write_basic_package_version_file(${CMAKE_BINARY_DIR}/SlitformConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/SlitformConfig.cmake ${CMAKE_BINARY_DIR}/SlitformConfigVersion.cmake
  DESTINATION ${slitform_package_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME slitform)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Cuts a polygon mesh along the lines of a 2D shape (the Slitform modifier and its stand-in host)")
set(CPACK_PACKAGE_CONTACT "Slitform developers")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The Qt, curl and C++ runtime packages, found from the installed files, and the font
# that --text draws with when none is named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
# The Python module works on NumPy arrays; the programs need neither.
if(TARGET slitform_python)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "python3, python3-numpy")
endif()
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/host ${CMAKE_BINARY_DIR}/host/qt)
include(CPack)
