# The Debian package, made by `cpack -G DEB` in the build folder (scripts/build-deb.sh does it
# all). It holds what `cmake --install` puts under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${PROJECT_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "The Zorvit developers <zorvit@users.noreply.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The summary above is the first line; these follow it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zorvit opens a G-code (RS274/NGC) program in an editor with syntax
highlighting and shows its tool path as a 3D plot that the mouse turns, pans
and zooms. zorvit-render draws the plot into a PNG without a display, for file
manager thumbnails; zorvit-table prints the interpreter's line table as CSV;
zorvit-transform moves, turns, mirrors, scales, renumbers and tidies programs.")
# The libraries the programs link come from dpkg-shlibdeps; what they load at run time is
# named here: Qt's X11 platform plugin, Mesa's OpenGL drivers (software rendering included)
# and its EGL vendor library, which zorvit-render draws with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libgl1-mesa-dri, libegl-mesa0")
include(CPack)
