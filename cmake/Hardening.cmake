# SPDX-License-Identifier: GPL-3.0-or-later
# The hardening flags Debian's dpkg-buildflags gives a package, written here
# so that a plain `cmake` build gets them too: fortified C library calls,
# the stack protector, format-string errors, position-independent
# executables, and a read-only relocation table resolved at start (full
# RELRO). _FORTIFY_SOURCE needs the optimiser, so a Debug build goes
# without it; so does the sanitizer build, whose own checks it would hide.
option(PLCEDIT_HARDENING "Build with the distribution's hardening flags (fortify, stack protector, PIE, full RELRO)" ON)
if(NOT PLCEDIT_HARDENING)
  return()
endif()

# POSITION_INDEPENDENT_CODE (on for every target) links executables with
# -pie only once the linker's support has been checked.
include(CheckPIESupported)
check_pie_supported()

add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
if(NOT PLCEDIT_SANITIZE)
  # -U first: a compiler that defines its own level (Ubuntu's does) would
  # otherwise warn about the redefinition, and -Werror stops on it.
  add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
endif()
add_link_options(LINKER:-z,relro LINKER:-z,now)
