# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DCXX=... -DPKG_CONFIG=... -P TestExampleHost.cmake
# Installs the build tree into a scratch prefix, checks that the public
# header compiles warning-free as C99 and C++17, builds the two example
# hosts against the installed tree with pkg-config alone and runs them
# offscreen on a programme: examples/host (C++, its own QApplication) and
# examples/host-c (C99, the module's application and event loop). The editor
# opens and closing it reaches the host as the event PlcOnCancel; without a
# display the C host is told so instead of being ended by Qt.
cmake_minimum_required(VERSION 3.25)
set(scratch ${BUILD_DIR}/example-host)
set(prefix ${scratch}/prefix)
file(REMOVE_RECURSE ${scratch})
file(MAKE_DIRECTORY ${scratch}/config)

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
file(GLOB_RECURSE pc_files ${prefix}/*/torvix.pc)
list(LENGTH pc_files n)
if(NOT n EQUAL 1)
  message(FATAL_ERROR "the installed tree holds ${n} torvix.pc files")
endif()
get_filename_component(pc_dir ${pc_files} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
run("pkg-config" ${PKG_CONFIG} --cflags --libs torvix)
string(STRIP "${out}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
run("pkg-config" ${PKG_CONFIG} --variable=module torvix)
string(STRIP "${out}" module)
if(NOT EXISTS ${module})
  message(FATAL_ERROR "torvix.pc names the module ${module}, which is not installed")
endif()
list(FILTER flags INCLUDE REGEX "^-I")
list(GET flags 0 torvix_include)

# The header compiles alone, as C99 and as C++17, without a warning.
find_program(C_COMPILER NAMES cc gcc clang)
if(NOT C_COMPILER)
  message(FATAL_ERROR "no C compiler to check the header and build examples/host-c with")
endif()
file(WRITE ${scratch}/header.c "#include <torvix/torvix.h>\nint main(void) { return TORVIX_S_OK; }\n")
run("compiling the header as C99" ${C_COMPILER} -std=c99 -Wall -Wextra -Werror -pedantic
  -Wstrict-prototypes ${torvix_include} -c ${scratch}/header.c -o ${scratch}/header-c.o)
run("compiling the header as C++17" ${CXX} -x c++ -std=c++17 -Wall -Wextra -Werror -pedantic
  ${torvix_include} -c ${scratch}/header.c -o ${scratch}/header-cxx.o)

# The C++ host runs its own QApplication: it asks for Qt beside the module.
run("pkg-config" ${PKG_CONFIG} --cflags --libs torvix Qt6Widgets)
string(STRIP "${out}" all_flags)
separate_arguments(all_flags UNIX_COMMAND "${all_flags}")
run("building examples/host" ${CXX} -std=c++17 -fPIC -Wall -Wextra -Werror
  ${SOURCE_DIR}/examples/host/host.cpp ${all_flags} -o ${scratch}/torvix-host)

# The host is linked against libtorvix.so, which the scratch prefix holds
# outside the loader's search path.
run("pkg-config" ${PKG_CONFIG} --variable=libdir torvix)
string(STRIP "${out}" libdir)
set(ENV{LD_LIBRARY_PATH} ${libdir})
set(ENV{XDG_CONFIG_HOME} ${scratch}/config)
set(ENV{QT_QPA_PLATFORM} offscreen)
run("running the host" ${scratch}/torvix-host ${module} ${SOURCE_DIR}/examples/jumps.plc --close)
message("${out}")
foreach(line "PlcCreate: TRUE" "PlcFileOpen: TRUE" "event 3 PlcOnCancel()")
  string(FIND "${out}" "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the host did not print \"${line}\"")
  endif()
endforeach()

# The C host: the module makes the application and runs the loop. It is
# built with torvix.pc's flags alone, which name no Qt.
run("pkg-config" ${PKG_CONFIG} --cflags --libs torvix)
string(STRIP "${out}" c_flags)
if(c_flags MATCHES "Qt|qt6")
  message(FATAL_ERROR "torvix.pc gives a C host Qt's flags: ${c_flags}")
endif()
separate_arguments(c_flags UNIX_COMMAND "${c_flags}")
run("building examples/host-c" ${C_COMPILER} -std=c99 -Wall -Wextra -Werror -pedantic
  ${SOURCE_DIR}/examples/host-c/host.c ${c_flags} -o ${scratch}/torvix-host-c)
file(MAKE_DIRECTORY ${scratch}/device)
run("running the C host" ${scratch}/torvix-host-c --device ${scratch}/device --online --close
  ${SOURCE_DIR}/examples/jumps.plc)
message("${out}")
foreach(line "module version 1." "registered" "PlcCreate: TRUE" "PlcFileOpen: TRUE"
    "PlcSetOnline: TRUE" "PlcDestroy: TRUE" "event 3 PlcOnCancel()" "editor closed"
    "sink references left: 0" "TorvixUninitialize: S_OK")
  string(FIND "${out}" "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the C host did not print \"${line}\"")
  endif()
endforeach()
file(STRINGS ${scratch}/config/torvix/registry.ini servers REGEX "^InprocServer=")
list(LENGTH servers n)
if(n LESS 1)
  message(FATAL_ERROR "the C host's registration wrote no InprocServer into the registry file")
endif()

# Without any display Qt would end the process; the module says so instead.
unset(ENV{QT_QPA_PLATFORM})
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
execute_process(COMMAND ${scratch}/torvix-host-c ${SOURCE_DIR}/examples/jumps.plc
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT err MATCHES "no display")
  message(FATAL_ERROR "the C host without a display ended with ${rc}:\n${out}\n${err}")
endif()
