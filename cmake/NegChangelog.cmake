# data/changelog (Debian's format, the newest entry first) is the one place
# the version is written: the project, the package and the window caption
# take it from there.

set(NEG_CHANGELOG ${CMAKE_CURRENT_LIST_DIR}/../data/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${NEG_CHANGELOG})

# The changelog's lines as a list; a ";" in the text, which would split a
# list item, stands as NEG_SEMICOLON.
function(neg_changelog_lines out)
  file(READ ${NEG_CHANGELOG} text)
  string(REPLACE ";" "NEG_SEMICOLON" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# neg_changelog_version(OUT): the version of the newest entry.
function(neg_changelog_version out)
  neg_changelog_lines(lines)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[a-z0-9.+-]+ \\(([^)]+)\\)")
      set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "${NEG_CHANGELOG} has no entry")
endfunction()
