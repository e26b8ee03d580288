# SPDX-License-Identifier: GPL-3.0-or-later
# The control for other hosts: libtorvix.so.N, a versioned shared library
# whose soname the public header names; the header torvix/torvix.h, the link
# libtorvix.so and the pkg-config file torvix.pc in the -dev component; and a
# test that installs the tree, builds examples/host against it with
# pkg-config alone and runs it offscreen, so the header cannot drift from the
# module.
include(GNUInstallDirs)
if(NOT TARGET torvix)
  return()
endif()

# The soname's number comes from the header's TORVIX_MODULE_NAME, the name
# hosts and plcedit load, so the two cannot disagree.
file(STRINGS ${CMAKE_SOURCE_DIR}/include/torvix/torvix.h _module_name
  REGEX "^#define TORVIX_MODULE_NAME \"libtorvix\\.so\\.[0-9]+\"$")
if(NOT _module_name MATCHES "libtorvix\\.so\\.([0-9]+)")
  message(FATAL_ERROR "include/torvix/torvix.h names no module libtorvix.so.N in TORVIX_MODULE_NAME")
endif()
set(TORVIX_SOVERSION ${CMAKE_MATCH_1})
# The soname's number is the interface's major version.
file(STRINGS ${CMAKE_SOURCE_DIR}/include/torvix/torvix.h _major
  REGEX "^#define TORVIX_VERSION_MAJOR [0-9]+$")
if(NOT _major MATCHES " ${TORVIX_SOVERSION}$")
  message(FATAL_ERROR "include/torvix/torvix.h: TORVIX_VERSION_MAJOR is not the number of ${_module_name}")
endif()
# SOVERSION alone: the file is libtorvix.so.N itself, the soname link is not
# needed, and libtorvix.so links to it for the linker.
set_target_properties(torvix PROPERTIES SOVERSION ${TORVIX_SOVERSION})

install(FILES ${CMAKE_SOURCE_DIR}/include/torvix/torvix.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/torvix COMPONENT Development)
# torvix.pc finds the prefix from its own place, so the installed tree may
# be moved (a scratch prefix, a package's root).
set(TORVIX_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(IS_ABSOLUTE ${TORVIX_PC_DIR})
  set(TORVIX_PC_PREFIX ${CMAKE_INSTALL_PREFIX})
else()
  string(REGEX REPLACE "[^/]+" ".." _up ${TORVIX_PC_DIR})
  set(TORVIX_PC_PREFIX "\${pcfiledir}/${_up}")
endif()
foreach(dir INCLUDEDIR LIBDIR)
  if(IS_ABSOLUTE ${CMAKE_INSTALL_${dir}})
    set(TORVIX_PC_${dir} ${CMAKE_INSTALL_${dir}})
  else()
    set(TORVIX_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
  endif()
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/cmake/torvix.pc.in ${CMAKE_BINARY_DIR}/torvix.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/torvix.pc DESTINATION ${TORVIX_PC_DIR} COMPONENT Development)
# The module itself is installed by the main install rules (component Runtime).

find_program(PKG_CONFIG_EXECUTABLE pkg-config)
# Not in the sanitizer build: a host built as any host is would load an
# instrumented module, which the sanitizer runtime refuses.
if(PKG_CONFIG_EXECUTABLE AND NOT PLCEDIT_SANITIZE)
  add_test(NAME example_host
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
      -DCXX=${CMAKE_CXX_COMPILER} -DPKG_CONFIG=${PKG_CONFIG_EXECUTABLE}
      -P ${CMAKE_SOURCE_DIR}/cmake/TestExampleHost.cmake)
  set_tests_properties(example_host PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300 RUN_SERIAL TRUE)
endif()

# The module exports exactly the entry points the header declares and
# documents, versioned; the header's result codes are all different.
add_test(NAME module_symbols
  COMMAND ${CMAKE_SOURCE_DIR}/tests/control/module-symbols.sh $<TARGET_FILE:torvix>
          ${CMAKE_SOURCE_DIR}/include/torvix/torvix.h)
set_tests_properties(module_symbols PROPERTIES SKIP_RETURN_CODE 77)
