# SPDX-License-Identifier: GPL-3.0-or-later
# The Qt side: platform layer, editor window, dialogs, control and the
# standalone editor. Filled in by the editor work; the core never depends on it.
find_package(Qt6 COMPONENTS Widgets PrintSupport Concurrent Test QUIET)
if(NOT Qt6_FOUND)
  message(STATUS "Qt 6 not found: the editor window is not built")
  return()
endif()

# QScintilla for Qt 6 ships no CMake package on Debian: the library and the
# include folder Qsci under the Qt include directory.
find_library(QSCINTILLA_LIBRARY NAMES qscintilla2_qt6)
get_target_property(_qt_core_includes Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
find_path(QSCINTILLA_INCLUDE_DIR NAMES Qsci/qsciscintilla.h
  HINTS ${_qt_core_includes} ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS}
  PATH_SUFFIXES qt6 x86_64-linux-gnu/qt6)
if(NOT QSCINTILLA_LIBRARY OR NOT QSCINTILLA_INCLUDE_DIR)
  message(STATUS "QScintilla for Qt 6 not found: the editor window is not built")
  return()
endif()
add_library(QScintilla::QScintilla UNKNOWN IMPORTED)
set_target_properties(QScintilla::QScintilla PROPERTIES
  IMPORTED_LOCATION ${QSCINTILLA_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${QSCINTILLA_INCLUDE_DIR}
  INTERFACE_LINK_LIBRARIES "Qt6::Widgets;Qt6::PrintSupport")

# The Qt layers above the core.
plcedit_layer(platform QT USES compiler image)
target_link_libraries(platform PUBLIC Qt6::Widgets Qt6::PrintSupport QScintilla::QScintilla)

plcedit_layer(dialogs QT USES platform resources)

plcedit_layer(editor QT USES dialogs platform analysis sim decoder compiler image resources)
target_link_libraries(editor PUBLIC Qt6::Concurrent)

plcedit_layer(control QT USES editor platform image resources)
target_link_libraries(control PUBLIC ${CMAKE_DL_LIBS})
# The public header of the module: ids, layouts and entry points.
target_include_directories(control PUBLIC ${CMAKE_SOURCE_DIR}/include)
# Interfaces a host implements in C (a struct whose first member points to a
# table of functions) carry no C++ type information, so the sanitizer's check
# of the dynamic type would stop every call the control makes on them.
if(PLCEDIT_SANITIZE)
  target_compile_options(control PRIVATE -fno-sanitize=vptr)
endif()

# The names these libraries had before they were named after their folders.
foreach(layer platform dialogs editor control)
  add_library(plc${layer} ALIAS ${layer})
endforeach()

# ---- libtorvix.so: the control as a loadable component module ----
# The entry points pull the control library in; the version script exports
# only them.
add_library(torvix SHARED ${CMAKE_SOURCE_DIR}/control/module/TorvixModule.cpp
  ${CMAKE_SOURCE_DIR}/control/module/TorvixApplication.cpp)
target_link_libraries(torvix PRIVATE control)
target_compile_options(torvix PRIVATE ${PLCEDIT_WARNINGS})
set_target_properties(torvix PROPERTIES LINK_DEPENDS ${CMAKE_SOURCE_DIR}/control/torvix.map)
target_link_options(torvix PRIVATE -Wl,--version-script=${CMAKE_SOURCE_DIR}/control/torvix.map
  -Wl,--no-undefined)

# ---- plcedit: the standalone editor ----
# The host part is a library of its own so that the tests drive it too.
add_library(plceditapp STATIC ${CMAKE_SOURCE_DIR}/apps/plcedit/PlcEditHost.cpp
  ${CMAKE_SOURCE_DIR}/apps/plcedit/PlcEditHost.h)
target_link_libraries(plceditapp PUBLIC control)
target_compile_options(plceditapp PRIVATE ${PLCEDIT_WARNINGS})
target_compile_definitions(plceditapp PRIVATE PLCEDIT_VERSION="${PROJECT_VERSION}")
# The control linked into the program, for hosts with scripted dialogs (the
# tests): an object library, so that its registration always comes along.
add_library(plceditlinked OBJECT ${CMAKE_SOURCE_DIR}/apps/plcedit/PlcEditLinked.cpp)
target_link_libraries(plceditlinked PUBLIC plceditapp)
target_compile_options(plceditlinked PRIVATE ${PLCEDIT_WARNINGS})
# plcedit itself loads the module only: no second copy of the editor.
add_executable(plcedit ${CMAKE_SOURCE_DIR}/apps/plcedit/main.cpp)
target_link_libraries(plcedit PRIVATE plceditapp)
# plcedit loads the module from its own folder.
add_dependencies(plcedit torvix)
target_compile_options(plcedit PRIVATE ${PLCEDIT_WARNINGS})
plcedit_layer_includes(apps/plcedit USES control editor platform)

# The screenshot of the README: the editor on a programme after Check syntax,
# grabbed to a PNG file (scripts/screenshot runs it under Xvfb).
add_executable(plcedit-screenshot ${CMAKE_SOURCE_DIR}/apps/plcedit/Screenshot.cpp)
target_link_libraries(plcedit-screenshot PRIVATE control)
target_compile_options(plcedit-screenshot PRIVATE ${PLCEDIT_WARNINGS})

# ---- widget tests: one QtTest executable per file, run offscreen ----
file(GLOB GUI_TEST_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/platform/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/editor/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/dialogs/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/control/*.cpp)
# The calls a C host makes, compiled as C.
enable_language(C)
add_library(boundary_calls_c STATIC ${CMAKE_SOURCE_DIR}/tests/control/BoundaryCalls.c)
target_include_directories(boundary_calls_c PRIVATE ${CMAKE_SOURCE_DIR}/include)
target_compile_options(boundary_calls_c PRIVATE -std=c99 -Wall -Wextra -Werror)
foreach(src ${GUI_TEST_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE plceditapp plceditlinked Qt6::Test)
  target_compile_options(${name} PRIVATE ${PLCEDIT_WARNINGS})
  target_compile_definitions(${name} PRIVATE PLCEDIT_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    PLCEDIT_BINARY="$<TARGET_FILE:plcedit>" TORVIX_MODULE="$<TARGET_FILE:torvix>")
  add_dependencies(${name} plcedit torvix)
  if(name STREQUAL "tst_module")
    target_link_libraries(${name} PRIVATE boundary_calls_c ${CMAKE_DL_LIBS})
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SOURCE_DATE_EPOCH=1700000000"
    TIMEOUT 120)
endforeach()
