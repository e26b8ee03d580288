# SPDX-License-Identifier: GPL-3.0-or-later
# plcc's own build settings: its version from the project, JSON for
# --diagnostics=json, SHA-256 from nettle, and the C++ runtime linked in so that a run of plcc
# spends little time in the dynamic loader.
find_package(nlohmann_json 3 REQUIRED)
# SHA-256 of the files git's text conversion hands over that are no
# programme files (plcc list --textconv).
find_package(PkgConfig REQUIRED)
pkg_check_modules(NETTLE REQUIRED IMPORTED_TARGET nettle)

target_link_libraries(plcc PRIVATE nlohmann_json::nlohmann_json PkgConfig::NETTLE)
target_compile_definitions(plcc PRIVATE PLCEDIT_VERSION="${PROJECT_VERSION}")

# The C++ runtime and GCC's support library linked in, the C library shared:
# a run of plcc maps the C library and libm, not libstdc++ and libgcc_s as
# well, whose relocations and constructors were most of its start-up, while
# the C library stays the system's own (its security updates; no static
# glibc). Graphviz's libraries (for plcc graph; Debian ships them shared only)
# are loaded as well. The sanitizers need the shared runtime.
if(NOT PLCEDIT_SANITIZE)
  target_link_options(plcc PRIVATE -static-libstdc++ -static-libgcc -Wl,--as-needed)
endif()

if(TARGET plcc_tests)
  target_link_libraries(plcc_tests PRIVATE nlohmann_json::nlohmann_json)
  target_compile_definitions(plcc_tests PRIVATE PLCEDIT_VERSION="${PROJECT_VERSION}")
endif()
