# SPDX-License-Identifier: GPL-3.0-or-later
# NEWS as a Debian changelog, and files compressed the way Debian wants them.
#
# NEWS holds one entry per version, newest first:
#
#     Version 1.30 (2026-12-08)
#     -------------------------
#
#     * A change, whose text may go on
#       on lines indented by two spaces.
#
# Text before the first entry is the file's introduction. Each entry becomes
#
#     plcedit (1.30) unstable; urgency=medium
#
#       * A change, whose text may go on
#         on lines indented by two spaces.
#
#      -- MAINTAINER  Tue, 08 Dec 2026 00:00:00 +0000

# "Tue, 08 Dec 2026 00:00:00 +0000" for the date YEAR-MONTH-DAY.
function(_plcedit_rfc2822_date year month day out)
  # The weekday by Sakamoto's method (0 is Sunday).
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR m "${month} - 1")
  list(GET offsets ${m} offset)
  set(y ${year})
  if(month LESS 3)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET weekdays ${weekday} wd)
  list(GET months ${m} mon)
  set(${out} "${wd}, ${day} ${mon} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

# Writes the Debian changelog of PACKAGE made from NEWS to OUT; stops the
# configuration when NEWS is malformed or its newest entry is not VERSION.
function(plcedit_debian_changelog news package version maintainer out)
  file(READ ${news} text)
  # Lists split at ";" except inside square brackets: keep the text's own
  # semicolons and brackets out of the way.
  string(ASCII 29 open_bracket)
  string(ASCII 30 close_bracket)
  string(ASCII 31 semicolon)
  string(REPLACE ";" "${semicolon}" text "${text}")
  string(REPLACE "[" "${open_bracket}" text "${text}")
  string(REPLACE "]" "${close_bracket}" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(result "")
  set(entry "")        # the version of the entry being read
  set(changes 0)       # its number of changes so far
  set(line_number 0)
  foreach(line IN LISTS lines)
    math(EXPR line_number "${line_number} + 1")
    if(line MATCHES "^Version ([0-9][0-9.]*) \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")
      set(next_version ${CMAKE_MATCH_1})
      _plcedit_rfc2822_date(${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4} next_date)
      if(entry)
        if(changes EQUAL 0)
          message(FATAL_ERROR "${news}: the entry of version ${entry} lists no change")
        endif()
        string(APPEND result "\n -- ${maintainer}  ${date}\n\n")
      elseif(NOT next_version VERSION_EQUAL version)
        message(FATAL_ERROR "${news}: the newest entry is version ${next_version}, "
          "the project is version ${version}: add this version's entry")
      endif()
      set(entry ${next_version})
      set(date "${next_date}")
      set(changes 0)
      string(APPEND result "${package} (${entry}) unstable; urgency=medium\n\n")
    elseif(NOT entry OR line MATCHES "^(-+)?$")
      # the introduction, a heading's underline, a blank line
    elseif(line MATCHES "^\\* ")
      math(EXPR changes "${changes} + 1")
      string(APPEND result "  ${line}\n")
    elseif(line MATCHES "^  [^ ]" AND changes GREATER 0)
      string(APPEND result "  ${line}\n")
    else()
      message(FATAL_ERROR "${news}:${line_number}: neither a change (\"* ...\") nor its "
        "continuation (indented by two spaces): ${line}")
    endif()
  endforeach()
  if(NOT entry)
    message(FATAL_ERROR "${news} holds no entry \"Version X.Y (YYYY-MM-DD)\"")
  endif()
  if(changes EQUAL 0)
    message(FATAL_ERROR "${news}: the entry of version ${entry} lists no change")
  endif()
  string(APPEND result "\n -- ${maintainer}  ${date}\n")
  string(REPLACE "${semicolon}" ";" result "${result}")
  string(REPLACE "${open_bracket}" "[" result "${result}")
  string(REPLACE "${close_bracket}" "]" result "${result}")
  # Rewritten only when it changes, so that a new configuration does not
  # compress it again.
  file(WRITE ${out}.new "${result}")
  file(COPY_FILE ${out}.new ${out} ONLY_IF_DIFFERENT)
  file(REMOVE ${out}.new)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${news})
endfunction()

# Compresses each FILE at build time into FILE.gz beside it, as Debian wants
# documentation and manual pages: gzip -9, without the name and time stamp
# (the same bytes from every build). The .gz names go into OUT_VAR.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
function(plcedit_gzip out_var)
  set(outputs)
  foreach(file ${ARGN})
    add_custom_command(OUTPUT ${file}.gz
      COMMAND ${GZIP_EXECUTABLE} -9nkf ${file}
      DEPENDS ${file}
      COMMENT "Compressing ${file}" VERBATIM)
    list(APPEND outputs ${file}.gz)
  endforeach()
  set(${out_var} ${outputs} PARENT_SCOPE)
endfunction()
