# The Debian package: `cpack -G DEB` in the build folder. One package per
# install component: plcedit (Runtime) and plcedit-dev (Development, when
# anything is installed for it). Included last, after every install rule,
# because CPack takes the list of components from the rules made so far.
set(CPACK_PACKAGE_NAME plcedit)
set(CPACK_PACKAGE_VENDOR "PlcEdit")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor, compiler and decoder for the PLC programmes of the servo drive")
set(CPACK_PACKAGE_DESCRIPTION "PlcEdit compiles PLC programmes into the drive's programme image with \
line-by-line error messages and a checksum, writes and reads the binary programme file, decodes an \
image back into source text, renumbers, searches and replaces, and prints. It contains the editor \
window (plcedit), the command-line compiler (plcc) and the embeddable control module (libtorvix.so).")
set(CPACK_PACKAGE_CONTACT "PlcEdit maintainers <plcedit@localhost>")
set(CPACK_RESOURCE_FILE_README ${CMAKE_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/build[^/]*/" "/\\\\.git/" "\\\\.swp$")

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
# Library dependencies from the binaries themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME plcedit)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME plcedit-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Runtime)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_RUNTIME_DISPLAY_NAME "PlcEdit")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_COMPONENT_DEVELOPMENT_DISPLAY_NAME "PlcEdit development files")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
  "The public header and pkg-config file for hosts that embed the PlcEdit control module.")
include(CPack)

# The package is built, unpacked into a temporary root and run from there.
# Not for the sanitizer build: its binaries are not what anyone installs.
if(NOT PLCEDIT_SANITIZE)
  add_test(NAME package_deb COMMAND ${CMAKE_SOURCE_DIR}/tests/install/package-deb.sh
    ${CMAKE_BINARY_DIR} "$<IF:$<TARGET_EXISTS:plcedit>,gui,core>")
  set_tests_properties(package_deb PROPERTIES
    RESOURCE_LOCK install SKIP_RETURN_CODE 77 TIMEOUT 600)
endif()
