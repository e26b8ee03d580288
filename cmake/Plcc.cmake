# plcc's own build settings: its version from the project, JSON for
# --diagnostics=json, and the C++ runtime linked in so that a run of plcc
# does not spend its time in the dynamic loader.
find_package(nlohmann_json 3 REQUIRED)

target_link_libraries(plcc PRIVATE nlohmann_json::nlohmann_json)
target_compile_definitions(plcc PRIVATE PLCEDIT_VERSION="${PROJECT_VERSION}")

# Fully static where the C library allows it (plcc needs no name service and
# loads nothing); the sanitizers need the shared runtime.
if(NOT PLCEDIT_SANITIZE)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_LINK_OPTIONS -static)
  check_cxx_source_compiles("#include <string>\nint main() { return static_cast<int>(std::string(\"x\").size()) - 1; }"
                            PLCC_CAN_LINK_STATIC)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
  if(PLCC_CAN_LINK_STATIC)
    target_link_options(plcc PRIVATE -static)
  else()
    target_link_options(plcc PRIVATE -static-libstdc++ -static-libgcc)
  endif()
endif()

if(TARGET plcc_tests)
  target_link_libraries(plcc_tests PRIVATE nlohmann_json::nlohmann_json)
  target_compile_definitions(plcc_tests PRIVATE PLCEDIT_VERSION="${PROJECT_VERSION}")
endif()
