# SPDX-License-Identifier: GPL-3.0-or-later
# editor_bench: the edit-control benchmarks (Replace all, Renum, live check,
# the flow graph panel opening)
# on the real editor window, run offscreen. The bench/ glob has made the
# target with the core; the window's libraries are added here, and without
# them it is not built.
if(TARGET editor_bench)
  if(TARGET plceditapp)
    target_link_libraries(editor_bench PRIVATE plceditapp)
    set_target_properties(editor_bench PROPERTIES AUTOMOC ON)
  else()
    set_target_properties(editor_bench PROPERTIES EXCLUDE_FROM_ALL ON)
  endif()
endif()

# bare_window: the bare QScintilla window that bench/typing_cost.sh compares
# the editor window with (typing, start-up, memory).
if(PLCEDIT_BENCH AND TARGET plceditapp)
  add_executable(bare_window ${CMAKE_SOURCE_DIR}/bench/bare/bare_window.cpp)
  target_link_libraries(bare_window PRIVATE QScintilla::QScintilla)
  target_compile_options(bare_window PRIVATE ${PLCEDIT_WARNINGS})
endif()
