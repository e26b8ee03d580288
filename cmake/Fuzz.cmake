# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzz targets (fuzz/Fuzz*.cpp) and the replay of their seed corpora.
#
# Every build replays each target's corpus (fuzz/seeds/<Target>/) as an
# ordinary test: the target is linked with a small main instead of libFuzzer,
# so a fuzz finding kept in the corpus fails the tests. With PLCEDIT_FUZZ the
# targets are also built for libFuzzer (clang).

# Sources beyond the core that some targets exercise: the profile files and
# the dispatch layer of the control's module boundary are plain C++ and stand
# outside the core library.
set(FUZZ_EXTRA_SOURCES
    ${CMAKE_SOURCE_DIR}/platform/Profile.cpp
    ${CMAKE_SOURCE_DIR}/platform/ProfileEntries.cpp
    ${CMAKE_SOURCE_DIR}/control/ComIds.cpp
    ${CMAKE_SOURCE_DIR}/control/ComInterfaces.cpp
    ${CMAKE_SOURCE_DIR}/control/ComTypeInfo.cpp
    ${CMAKE_SOURCE_DIR}/control/ComVariant.cpp)

file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/Fuzz*.cpp)

foreach(src ${FUZZ_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name}_replay ${src} ${CMAKE_SOURCE_DIR}/fuzz/replay/ReplayMain.cpp ${FUZZ_EXTRA_SOURCES})
  target_link_libraries(${name}_replay PRIVATE plccore)
  target_include_directories(${name}_replay PRIVATE ${CMAKE_SOURCE_DIR}/include)
  target_compile_options(${name}_replay PRIVATE ${PLCEDIT_WARNINGS})
  if(EXISTS ${CMAKE_SOURCE_DIR}/fuzz/seeds/${name})
    add_test(NAME fuzz_replay.${name} COMMAND ${name}_replay ${CMAKE_SOURCE_DIR}/fuzz/seeds/${name})
  endif()
endforeach()

if(PLCEDIT_FUZZ)
  # The core once more, instrumented for coverage and the sanitizers, with the
  # standard library's bounds assertions on.
  set(FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  add_library(plccore_fuzz STATIC ${PLCCORE_SOURCES} ${FUZZ_EXTRA_SOURCES})
  target_include_directories(plccore_fuzz PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/include)
  target_compile_options(plccore_fuzz PRIVATE ${PLCEDIT_WARNINGS} ${FUZZ_FLAGS})
  target_compile_definitions(plccore_fuzz PUBLIC _GLIBCXX_ASSERTIONS)
  foreach(src ${FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE plccore_fuzz)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all ${PLCEDIT_WARNINGS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  endforeach()
endif()
