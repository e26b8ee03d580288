# SPDX-License-Identifier: GPL-3.0-or-later
# The language server of plcc (plcc lsp): its sources in apps/plcc/Lsp*.cpp
# also form a small library for the in-process tests, the benchmark and the
# fuzz target. JSON through the packaged nlohmann-json.
find_package(nlohmann_json 3 REQUIRED)

file(GLOB PLCC_LSP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/apps/plcc/Lsp*.cpp)
add_library(plcclsp STATIC ${PLCC_LSP_SOURCES})
target_link_libraries(plcclsp PUBLIC analysis plccore nlohmann_json::nlohmann_json)
target_compile_options(plcclsp PRIVATE ${PLCEDIT_WARNINGS})
# plcc takes the server from the library (its own glob leaves Lsp*.cpp out).
target_link_libraries(plcc PRIVATE plcclsp)

# In-process tests of the handlers.
add_executable(lsp_tests ${CMAKE_SOURCE_DIR}/tests/lsp/LspServerTest.cpp)
target_link_libraries(lsp_tests PRIVATE plcclsp GTest::gtest GTest::gtest_main)
target_compile_options(lsp_tests PRIVATE ${PLCEDIT_WARNINGS})
target_compile_definitions(lsp_tests PRIVATE PLCEDIT_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# The diagnostics link into the help pages beside the executable.
add_dependencies(lsp_tests plcedit_help)
gtest_discover_tests(lsp_tests DISCOVERY_TIMEOUT 60)

# A real client: Neovim, headless, against the plcc binary. Skipped when
# nvim is not installed.
add_test(NAME lsp_neovim
  COMMAND ${CMAKE_SOURCE_DIR}/tests/lsp/neovim-client.sh $<TARGET_FILE:plcc> ${CMAKE_SOURCE_DIR}
          ${CMAKE_CURRENT_BINARY_DIR}/lsp-neovim)
set_tests_properties(lsp_neovim PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 60)
# The installed Neovim set-up: one server for the programmes of a project.
add_test(NAME lsp_neovim_reuse
  COMMAND ${CMAKE_SOURCE_DIR}/tests/lsp/neovim-reuse.sh $<TARGET_FILE:plcc> ${CMAKE_SOURCE_DIR}
          ${CMAKE_BINARY_DIR}/editors ${CMAKE_CURRENT_BINARY_DIR}/lsp-neovim-reuse)
set_tests_properties(lsp_neovim_reuse PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 60)

# The benchmark takes the handlers from the library.
if(TARGET lsp_bench)
  target_link_libraries(lsp_bench PRIVATE plcclsp)
endif()

# The replay of the fuzz target's corpus, in every build.
if(TARGET FuzzLspServer_replay)
  target_link_libraries(FuzzLspServer_replay PRIVATE plcclsp)
endif()

# The fuzz target feeds the message loop: it needs the server's sources built
# with the fuzz flags, over the instrumented core.
if(PLCEDIT_FUZZ AND TARGET FuzzLspServer)
  # The analysis's warnings are part of the diagnostics: its sources too.
  file(GLOB PLCC_LSP_ANALYSIS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/analysis/*.cpp)
  target_sources(FuzzLspServer PRIVATE ${PLCC_LSP_SOURCES} ${PLCC_LSP_ANALYSIS_SOURCES})
  target_link_libraries(FuzzLspServer PRIVATE nlohmann_json::nlohmann_json PkgConfig::GRAPHVIZ)
endif()
