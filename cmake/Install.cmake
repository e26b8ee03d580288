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
# Who signs the changelog made from NEWS: Debian's DEBFULLNAME and DEBEMAIL
# give the default when both are set.
if(DEFINED ENV{DEBFULLNAME} AND DEFINED ENV{DEBEMAIL})
  set(_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
else()
  set(_maintainer "PlcEdit maintainers <plcedit@example.org>")
endif()
set(PLCEDIT_MAINTAINER "${_maintainer}" CACHE STRING
  "Name <address> that signs the changelog made from NEWS")
if(NOT PLCEDIT_MAINTAINER MATCHES "^[^<>]+ <[^<>@ ]+@[^<>@ ]+\\.[^<>@ ]+>$")
  message(FATAL_ERROR "PLCEDIT_MAINTAINER is \"${PLCEDIT_MAINTAINER}\", not \"Name <user@host.domain>\"")
endif()

include(${CMAKE_SOURCE_DIR}/cmake/Changelog.cmake)
set(PLCEDIT_DOC_BUILD_DIR ${CMAKE_BINARY_DIR}/doc)
plcedit_debian_changelog(${CMAKE_SOURCE_DIR}/NEWS plcedit ${PROJECT_VERSION} "${PLCEDIT_MAINTAINER}"
  ${PLCEDIT_DOC_BUILD_DIR}/changelog)
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

# A plain install's documentation folder holds the licence in Debian's
# machine-readable form (the source package's own copyright file) and the
# changelog; the Debian packages get theirs from debian/.
install(FILES ${CMAKE_SOURCE_DIR}/debian/copyright ${PLCEDIT_DOC_BUILD_DIR}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/plcedit COMPONENT Runtime)

# The manual: the README, where plcc's help and manual pages point.
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${PLCEDIT_DATADIR} COMPONENT Runtime)

install(TARGETS plcc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)
# Bash completion, made by plcc from its own command table, so that every
# command and option completes.
set(PLCC_BASH_COMPLETION ${CMAKE_BINARY_DIR}/plcc.bash-completion)
add_custom_command(OUTPUT ${PLCC_BASH_COMPLETION}
  COMMAND sh -c "\"$0\" --bash-completion >\"$1\"" $<TARGET_FILE:plcc> ${PLCC_BASH_COMPLETION}
  DEPENDS plcc COMMENT "Making the bash completion of plcc" VERBATIM)
add_custom_target(plcc_bash_completion ALL DEPENDS ${PLCC_BASH_COMPLETION})
install(FILES ${PLCC_BASH_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
  RENAME plcc COMPONENT Runtime)
# The example programmes with the golden entries of the faulty one and the
# dry run's stimuli and profile; the example hosts' sources belong to the
# development files.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${PLCEDIT_DATADIR}/examples
  COMPONENT Runtime PATTERN "host*" EXCLUDE)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/host ${CMAKE_SOURCE_DIR}/examples/host-c
  DESTINATION ${PLCEDIT_DATADIR}/examples COMPONENT Development)

# Help pages: the static pages of the sources, then whatever the build puts
# into help/ (the generated language reference joins them there). The
# editor's F1, the language server's links and plcc's SARIF rules open them.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/help/ DESTINATION ${PLCEDIT_DATADIR}/help
  COMPONENT Runtime)
install(DIRECTORY ${CMAKE_BINARY_DIR}/help/ DESTINATION ${PLCEDIT_DATADIR}/help
  COMPONENT Runtime OPTIONAL)

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
  ${CMAKE_INSTALL_MANDIR} "$<IF:$<TARGET_EXISTS:plcedit>,gui,core>" "${PLCEDIT_ICON_SIZES}" ${CMAKE_SOURCE_DIR})
set_tests_properties(install_tree PROPERTIES
  RESOURCE_LOCK install SKIP_RETURN_CODE 77 TIMEOUT 300
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# debian/changelog is NEWS as a Debian changelog.
add_test(NAME debian_changelog COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
  -DVERSION=${PROJECT_VERSION} -P ${CMAKE_SOURCE_DIR}/cmake/DebianChangelog.cmake)
