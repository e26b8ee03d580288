# SPDX-License-Identifier: GPL-3.0-or-later
# The help folder ${CMAKE_BINARY_DIR}/help: the static pages of
# resources/help/ and the pages made from the compiler's tables by
# plcedit-makehelp (statement reference, error codes). The editor finds the
# folder beside its executable in the build tree; an install puts it under
# the data folder.
add_executable(plcedit-makehelp ${CMAKE_SOURCE_DIR}/apps/makehelp/MakeHelp.cpp)
target_link_libraries(plcedit-makehelp PRIVATE plccore)
target_compile_options(plcedit-makehelp PRIVATE ${PLCEDIT_WARNINGS})

set(PLCEDIT_HELP_DIR ${CMAKE_BINARY_DIR}/help)
file(GLOB PLCEDIT_HELP_STATIC CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/help/*.html ${CMAKE_SOURCE_DIR}/resources/help/*.css)
add_custom_command(
  OUTPUT ${PLCEDIT_HELP_DIR}/language.html ${PLCEDIT_HELP_DIR}/errors.html
    ${PLCEDIT_HELP_DIR}/flow.html ${PLCEDIT_HELP_DIR}/calls.html ${PLCEDIT_HELP_DIR}/assign.html
    ${PLCEDIT_HELP_DIR}/outputs.html ${PLCEDIT_HELP_DIR}/waits.html ${PLCEDIT_HELP_DIR}/motion.html
    ${PLCEDIT_HELP_DIR}/ramps.html ${PLCEDIT_HELP_DIR}/fieldbus.html ${PLCEDIT_HELP_DIR}/names.html
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PLCEDIT_HELP_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${PLCEDIT_HELP_STATIC} ${PLCEDIT_HELP_DIR}
  COMMAND plcedit-makehelp ${PLCEDIT_HELP_DIR}
  DEPENDS plcedit-makehelp ${PLCEDIT_HELP_STATIC}
  COMMENT "Making the help pages")
add_custom_target(plcedit_help ALL
  DEPENDS ${PLCEDIT_HELP_DIR}/language.html ${PLCEDIT_HELP_DIR}/errors.html)
if(TARGET editor)
  add_dependencies(editor plcedit_help)
endif()
plcedit_layer_includes(apps/makehelp USES decoder compiler image resources)
# The generator compiles an example of every statement form and reads it
# back; it fails when one does not come back as its form. Run on its own
# into a fresh folder so that a test run shows which form broke.
add_test(NAME help_examples
  COMMAND ${CMAKE_COMMAND} -E env sh -c "rm -rf \"$1\" && mkdir -p \"$1\" && \"$0\" \"$1\""
          $<TARGET_FILE:plcedit-makehelp> ${CMAKE_CURRENT_BINARY_DIR}/help-examples)
