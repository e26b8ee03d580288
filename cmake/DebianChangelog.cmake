# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSOURCE_DIR=... -DVERSION=... [-DWRITE=ON] -P DebianChangelog.cmake
# debian/changelog is NEWS as a Debian changelog, signed by the source
# package's Maintainer: this compares the two (the test debian_changelog),
# or with WRITE=ON writes debian/changelog anew from NEWS.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/Changelog.cmake)
file(STRINGS ${SOURCE_DIR}/debian/control maintainer REGEX "^Maintainer: ")
string(REGEX REPLACE "^Maintainer: " "" maintainer "${maintainer}")
set(made ${CMAKE_CURRENT_BINARY_DIR}/debian-changelog.made)
plcedit_debian_changelog(${SOURCE_DIR}/NEWS plcedit ${VERSION} "${maintainer}" ${made})
if(WRITE)
  file(COPY_FILE ${made} ${SOURCE_DIR}/debian/changelog)
else()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${made} ${SOURCE_DIR}/debian/changelog
    RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "debian/changelog is not NEWS as a changelog; write it anew with\n"
      "  cmake -DSOURCE_DIR=. -DVERSION=${VERSION} -DWRITE=ON -P cmake/DebianChangelog.cmake")
  endif()
endif()
file(REMOVE ${made})
