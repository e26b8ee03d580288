# plcc's own build settings: its version from the project, JSON for
# --diagnostics=json, and the C++ runtime linked in so that a run of plcc
# spends little time in the dynamic loader.
find_package(nlohmann_json 3 REQUIRED)

target_link_libraries(plcc PRIVATE nlohmann_json::nlohmann_json)
target_compile_definitions(plcc PRIVATE PLCEDIT_VERSION="${PROJECT_VERSION}")

# The C++ runtime is linked in; the C library and Graphviz's libraries (for
# plcc graph, which Debian ships as shared libraries only) are loaded. The
# sanitizers need the shared runtime.
if(NOT PLCEDIT_SANITIZE)
  target_link_options(plcc PRIVATE -static-libstdc++ -static-libgcc -Wl,--as-needed)
endif()

if(TARGET plcc_tests)
  target_link_libraries(plcc_tests PRIVATE nlohmann_json::nlohmann_json)
  target_compile_definitions(plcc_tests PRIVATE PLCEDIT_VERSION="${PROJECT_VERSION}")
endif()
