# SPDX-License-Identifier: GPL-3.0-or-later
# Install rules: the programmes, the control module, help pages, manual
# pages, the desktop entry with its icons and MIME type, bash completion and
# the examples, laid out by GNUInstallDirs.
#
# Two components: Runtime (everything a user needs; the default) and
# Development (headers and pkg-config files for other hosts of the control).
# Install rules for the latter name COMPONENT ${PLCEDIT_DEV_COMPONENT}.
include(GNUInstallDirs)

set(PLCEDIT_RUNTIME_COMPONENT Runtime)
set(PLCEDIT_DEV_COMPONENT Development)
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME ${PLCEDIT_RUNTIME_COMPONENT})
set(PLCEDIT_DATADIR ${CMAKE_INSTALL_DATADIR}/plcedit)

# ---- licence, changelog and manual pages ----
# Who answers for the packages: the Maintainer of both, the contact of the
# copyright file and the signature of every changelog entry. Debian's
# DEBFULLNAME and DEBEMAIL give the default when both are set.
if(DEFINED ENV{DEBFULLNAME} AND DEFINED ENV{DEBEMAIL})
  set(_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
else()
  set(_maintainer "PlcEdit maintainers <plcedit@example.org>")
endif()
set(PLCEDIT_MAINTAINER "${_maintainer}" CACHE STRING
  "Name <address> of who builds the packages: their Maintainer, the copyright contact, the changelog's signature")
if(NOT PLCEDIT_MAINTAINER MATCHES "^[^<>]+ <[^<>@ ]+@[^<>@ ]+\\.[^<>@ ]+>$")
  message(FATAL_ERROR "PLCEDIT_MAINTAINER is \"${PLCEDIT_MAINTAINER}\", not \"Name <user@host.domain>\"")
endif()

include(${CMAKE_SOURCE_DIR}/cmake/Changelog.cmake)
set(PLCEDIT_DOC_BUILD_DIR ${CMAKE_BINARY_DIR}/doc)
plcedit_debian_changelog(${CMAKE_SOURCE_DIR}/NEWS plcedit ${PROJECT_VERSION} "${PLCEDIT_MAINTAINER}"
  ${PLCEDIT_DOC_BUILD_DIR}/changelog)
configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright.in ${PLCEDIT_DOC_BUILD_DIR}/copyright @ONLY)
set(_man_pages ${PLCEDIT_DOC_BUILD_DIR}/plcc.1)
if(TARGET plcedit)
  list(APPEND _man_pages ${PLCEDIT_DOC_BUILD_DIR}/plcedit.1)
endif()
foreach(page ${_man_pages})
  get_filename_component(_name ${page} NAME)
  configure_file(${CMAKE_SOURCE_DIR}/docs/man/${_name} ${page} COPYONLY)
endforeach()
plcedit_gzip(_compressed ${PLCEDIT_DOC_BUILD_DIR}/changelog ${_man_pages})
add_custom_target(plcedit_docs ALL DEPENDS ${_compressed})
install(FILES ${PLCEDIT_DOC_BUILD_DIR}/plcc.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Runtime)

# Each package's documentation folder holds the copyright file and the
# changelog; a plain install the first package's only. Without the module
# there are no development files, and no plcedit-dev.
set(_packages plcedit)
if(TARGET torvix)
  list(APPEND _packages plcedit-dev)
endif()
foreach(_package ${_packages})
  if(_package STREQUAL plcedit)
    set(_component Runtime)
    set(_only)
  else()
    set(_component Development)
    set(_only EXCLUDE_FROM_ALL)
  endif()
  install(FILES ${PLCEDIT_DOC_BUILD_DIR}/copyright ${PLCEDIT_DOC_BUILD_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${_package} COMPONENT ${_component} ${_only})
endforeach()
# What lintian is told to accept in the package, each with its reason (all
# of it about the module); only the package's own installation of the
# component carries it.
if(TARGET torvix)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/plcedit.lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME plcedit
    COMPONENT Runtime EXCLUDE_FROM_ALL)
endif()

install(TARGETS plcc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/plcc.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME plcc
  COMPONENT Runtime)
# The example programmes with the golden entries of the faulty one (the
# example host's sources belong to the development files).
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${PLCEDIT_DATADIR}/examples
  COMPONENT Runtime FILES_MATCHING PATTERN "*.plc" PATTERN "*.entries" PATTERN "host" EXCLUDE)

# ---- the window side ----
if(TARGET plcedit AND TARGET torvix)
  install(TARGETS plcedit RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)
  # The control module libtorvix.so.N, which plcedit and other hosts load by
  # its soname; the link libtorvix.so, for the linker, belongs to the
  # development files. Not executable: a library is mapped, not run.
  install(TARGETS torvix LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
    COMPONENT Runtime NAMELINK_COMPONENT Development)

  # plcedit looks for the module beside itself (the build tree), then in the
  # library folder relative to its own folder, so an installed tree may be
  # moved as a whole (DESTDIR, a package's prefix).
  file(RELATIVE_PATH _plcedit_module_dir ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
  set(PLCEDIT_MODULE_RELATIVE_DIR ${_plcedit_module_dir})
  if(TARGET plccontrol)
    # plccontrol may be an alias of the control layer's own target.
    get_target_property(_control_target plccontrol ALIASED_TARGET)
    if(NOT _control_target)
      set(_control_target plccontrol)
    endif()
    target_compile_definitions(${_control_target} PRIVATE
      TORVIX_MODULE_RELATIVE_DIR="${PLCEDIT_MODULE_RELATIVE_DIR}")
  endif()

  install(FILES ${PLCEDIT_DOC_BUILD_DIR}/plcedit.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Runtime)

  # Help pages: the static pages of the sources, then whatever the build
  # puts into help/ (the generated language reference joins them there).
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/help/ DESTINATION ${PLCEDIT_DATADIR}/help
    COMPONENT Runtime)
  install(DIRECTORY ${CMAKE_BINARY_DIR}/help/ DESTINATION ${PLCEDIT_DATADIR}/help
    COMPONENT Runtime OPTIONAL)

  # Desktop entry, MIME type for *.plc, icons in the hicolor theme.
  install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/plcedit.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT Runtime)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/plcedit-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME plcedit.xml COMPONENT Runtime)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/plcedit.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT Runtime)

  set(PLCEDIT_ICON_SIZES 16 22 24 32 48 64 128 256)
  find_program(RSVG_CONVERT rsvg-convert)
  if(RSVG_CONVERT)
    set(_icon_pngs)
    foreach(size ${PLCEDIT_ICON_SIZES})
      set(_png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/plcedit.png)
      add_custom_command(OUTPUT ${_png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
        COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${_png}
          ${CMAKE_SOURCE_DIR}/resources/icons/plcedit.svg
        DEPENDS ${CMAKE_SOURCE_DIR}/resources/icons/plcedit.svg
        COMMENT "Rendering the ${size} px icon" VERBATIM)
      list(APPEND _icon_pngs ${_png})
      install(FILES ${_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        COMPONENT Runtime)
    endforeach()
    add_custom_target(plcedit_icons ALL DEPENDS ${_icon_pngs})
  else()
    message(STATUS "rsvg-convert not found: only the scalable icon is installed")
    set(PLCEDIT_ICON_SIZES)
  endif()
endif()

# ---- tests of what gets installed ----
# The manual pages and the desktop entry pass their checkers; the install tree
# holds what it should and works from there.
find_program(GROFF groff)
if(GROFF)
  foreach(page plcc plcedit)
    add_test(NAME man_${page} COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8
      ${GROFF} -ww -man -z ${CMAKE_SOURCE_DIR}/docs/man/${page}.1)
    set_tests_properties(man_${page} PROPERTIES FAIL_REGULAR_EXPRESSION "warning|error")
  endforeach()
endif()
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  add_test(NAME desktop_entry COMMAND ${DESKTOP_FILE_VALIDATE}
    ${CMAKE_SOURCE_DIR}/resources/desktop/plcedit.desktop)
  set_tests_properties(desktop_entry PROPERTIES FAIL_REGULAR_EXPRESSION "error|warning")
endif()

# Every source file names its licence in an SPDX line.
add_test(NAME spdx_headers COMMAND ${CMAKE_SOURCE_DIR}/tests/install/spdx-headers.sh ${CMAKE_SOURCE_DIR})

add_test(NAME install_tree COMMAND ${CMAKE_SOURCE_DIR}/tests/install/install-tree.sh
  ${CMAKE_BINARY_DIR} ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_LIBDIR} ${CMAKE_INSTALL_DATADIR}
  ${CMAKE_INSTALL_MANDIR} "$<IF:$<TARGET_EXISTS:plcedit>,gui,core>" "${PLCEDIT_ICON_SIZES}")
set_tests_properties(install_tree PROPERTIES
  RESOURCE_LOCK install SKIP_RETURN_CODE 77 TIMEOUT 300
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
