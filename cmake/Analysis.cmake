# SPDX-License-Identifier: GPL-3.0-or-later
# The analysis layer lays graphs out with Graphviz's library (cgraph and gvc,
# Debian's libgraphviz-dev), in the process: no dot command is run. plcc
# uses the layer; its tests and benchmark link it too.
find_package(PkgConfig REQUIRED)
pkg_check_modules(GRAPHVIZ REQUIRED IMPORTED_TARGET libgvc libcgraph)
target_link_libraries(analysis PUBLIC PkgConfig::GRAPHVIZ)

target_link_libraries(plcc PRIVATE analysis)

file(GLOB ANALYSIS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/analysis/*.cpp)
add_executable(analysis_tests ${ANALYSIS_TEST_SOURCES})
target_link_libraries(analysis_tests PRIVATE analysis GTest::gtest GTest::gtest_main)
target_compile_options(analysis_tests PRIVATE ${PLCEDIT_WARNINGS})
target_compile_definitions(analysis_tests PRIVATE PLCEDIT_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(analysis_tests DISCOVERY_TIMEOUT 60)

if(TARGET analysis_bench)
  target_link_libraries(analysis_bench PRIVATE analysis)
endif()
