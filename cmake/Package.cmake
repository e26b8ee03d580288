# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in the build folder. One package per
# install component: plcedit (Runtime) and plcedit-dev (Development, when
# anything is installed for it). Included last, after every install rule,
# because CPack takes the list of components from the rules made so far.
# Both come from one source, carry the copyright file and the changelog made
# from NEWS (cmake/Install.cmake), and pass lintian (the test package_lintian).
set(CPACK_PACKAGE_NAME plcedit)
set(CPACK_PACKAGE_VENDOR "PlcEdit")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${PLCEDIT_MAINTAINER}")
set(CPACK_RESOURCE_FILE_README ${CMAKE_SOURCE_DIR}/README.md)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/build[^/]*/" "/\\\\.git/" "\\\\.swp$")

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE plcedit)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Library dependencies from the binaries themselves; the shlibs file for
# libtorvix.so.N, so that packages built against it depend on this version
# or later.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

# Each description is its synopsis line and a text in lines short enough for
# a terminal.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME plcedit)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION electronics)
if(TARGET torvix)
  set(_holds "This package holds the editor window (plcedit), the command-line compiler
and language server (plcc), and the control module libtorvix.so.1 that
commissioning hosts embed.")
else()
  set(_holds "This package holds the command-line compiler and language server (plcc).")
endif()
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "editor, compiler and decoder for PLC programmes of the servo drive
PlcEdit compiles PLC programmes into the drive's programme image with
line-by-line error messages and a checksum, writes and reads the binary
programme file, decodes an image back into source text, renumbers,
searches and replaces, and prints.
.
${_holds}")
# A build without the window has the one component, which CPack packs as a
# plain package under the package-wide settings.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_RUNTIME_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# The module is a system library: ldconfig runs by dpkg's trigger. Naming
# postinst and postrm here, though there are no such files, keeps CPack from
# writing its own, which would call ldconfig themselves.
if(TARGET torvix)
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/packaging/triggers
    ${CMAKE_BINARY_DIR}/packaging-no-scripts/postinst ${CMAKE_BINARY_DIR}/packaging-no-scripts/postrm)
endif()

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME plcedit-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "development files for hosts of the PlcEdit control module
The public header torvix/torvix.h, the link libtorvix.so and the pkg-config
file torvix.pc, for commissioning hosts that embed the PlcEdit control:
its entry points, the layouts of the interfaces a host calls, the class and
interface ids, the dispatch ids of its methods and events, and the result
codes.")
# torvix.pc requires Qt6Widgets: its .pc comes with qt6-base-dev.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "qt6-base-dev")
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Runtime)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_RUNTIME_DISPLAY_NAME "PlcEdit")
set(CPACK_COMPONENT_DEVELOPMENT_DISPLAY_NAME "PlcEdit development files")
include(CPack)

# The packages are built into the build folder's packages/, unpacked into a
# temporary root and run from there; lintian then checks them. Not for the
# sanitizer build: its binaries are not what anyone installs.
if(NOT PLCEDIT_SANITIZE)
  set(_kind "$<IF:$<TARGET_EXISTS:plcedit>,gui,core>")
  add_test(NAME package_deb COMMAND ${CMAKE_SOURCE_DIR}/tests/install/package-deb.sh
    ${CMAKE_BINARY_DIR} ${_kind} ${CMAKE_BINARY_DIR}/packages)
  set_tests_properties(package_deb PROPERTIES
    RESOURCE_LOCK install SKIP_RETURN_CODE 77 TIMEOUT 600 FIXTURES_SETUP packages)
  add_test(NAME package_lintian COMMAND ${CMAKE_SOURCE_DIR}/tests/install/lintian.sh
    ${CMAKE_BINARY_DIR}/packages "$<IF:$<CONFIG:Debug>,debug,optimised>")
  set_tests_properties(package_lintian PROPERTIES
    SKIP_RETURN_CODE 77 TIMEOUT 600 FIXTURES_REQUIRED packages)
endif()
