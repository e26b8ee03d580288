# SPDX-License-Identifier: GPL-3.0-or-later
# The layers of the source tree as library targets. Each folder is one static
# library of the files in it (a file added to a folder touches no build file);
# a layer names the layers it uses, which must have been declared before it,
# so the links can only run downwards. The include check (a CTest test)
# refuses any #include "folder/..." of a layer that the including folder
# does not use, directly or through the layers it uses.

set_property(GLOBAL PROPERTY PLCEDIT_LAYERS "")
set_property(GLOBAL PROPERTY PLCEDIT_LAYER_RULES "")

# Records which folders `folder` may include: itself and everything the
# layers in USES reach.
function(_plcedit_layer_rule folder)
  set(reach ${folder})
  foreach(used ${ARGN})
    get_property(below GLOBAL PROPERTY PLCEDIT_LAYER_REACH_${used})
    list(APPEND reach ${below})
  endforeach()
  list(REMOVE_DUPLICATES reach)
  list(JOIN reach "," allowed)
  set_property(GLOBAL PROPERTY PLCEDIT_LAYER_REACH_${folder} ${reach})
  set_property(GLOBAL APPEND PROPERTY PLCEDIT_LAYER_RULES "${folder}:${allowed}")
endfunction()

function(_plcedit_check_uses name)
  get_property(known GLOBAL PROPERTY PLCEDIT_LAYERS)
  foreach(used ${ARGN})
    if(NOT used IN_LIST known)
      message(FATAL_ERROR "${name} uses '${used}', which is no layer declared below it")
    endif()
  endforeach()
endfunction()

# plcedit_layer(NAME [QT] [USES LAYER...]): the static library NAME of the
# sources in the folder NAME/, linked to the layers it uses.
function(plcedit_layer name)
  cmake_parse_arguments(LAYER "QT" "" "USES" ${ARGN})
  _plcedit_check_uses(${name} ${LAYER_USES})
  file(GLOB sources CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/${name}/*.cpp ${CMAKE_SOURCE_DIR}/${name}/*.h)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${PLCEDIT_WARNINGS})
  target_link_libraries(${name} PUBLIC ${LAYER_USES})
  if(LAYER_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  set_property(GLOBAL APPEND PROPERTY PLCEDIT_LAYERS ${name})
  _plcedit_layer_rule(${name} ${LAYER_USES})
endfunction()

# plcedit_layer_includes(FOLDER USES LAYER...): the include rule of a folder
# that is no layer library itself (an application).
function(plcedit_layer_includes folder)
  cmake_parse_arguments(LAYER "" "" "USES" ${ARGN})
  _plcedit_check_uses(${folder} ${LAYER_USES})
  _plcedit_layer_rule(${folder} ${LAYER_USES})
endfunction()

# The include check over every folder with a rule; call it once, after all
# layers are declared.
function(plcedit_layer_check)
  get_property(rules GLOBAL PROPERTY PLCEDIT_LAYER_RULES)
  list(JOIN rules "|" rules_text)
  add_test(NAME layer_includes
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} "-DRULES=${rules_text}"
      -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake)
endfunction()
