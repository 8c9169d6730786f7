# The release's documents as Debian ships them, in PREFIX/share/doc/vtrak: the
# machine-readable copyright file, made from LICENSE, and the changelog,
# compressed. The changelog's newest entry names the release: its version must
# be the project's, and its date becomes VTRAK_RELEASE_DATE (YYYY-MM-DD) for
# every file that names the release.
file(STRINGS changelog.in entries REGEX "^vtrak \\(|^ -- ")
list(GET entries 0 newest_heading)
list(GET entries 1 newest_signature)
string(REGEX MATCH "^vtrak \\(([^)]+)\\)" _ "${newest_heading}")
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog.in: the newest entry is ${CMAKE_MATCH_1}, "
                      "the project ${PROJECT_VERSION}; add an entry for ${PROJECT_VERSION}")
endif()
if(NOT newest_signature MATCHES ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog.in: no date in \"${newest_signature}\"")
endif()
set(day ${CMAKE_MATCH_1})
set(year ${CMAKE_MATCH_3})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
if(month LESS 10)
  set(month 0${month})
endif()
set(VTRAK_RELEASE_DATE ${year}-${month}-${day})

# The copyright file: the holder and the terms of LICENSE, the terms as an
# indented block whose empty lines are " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)\n\n(.*)" _ "${license}")
set(VTRAK_COPYRIGHT "${CMAKE_MATCH_1}")
string(STRIP "${CMAKE_MATCH_2}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " VTRAK_LICENSE_TERMS " ${terms}")
set(documents ${CMAKE_CURRENT_BINARY_DIR}/doc)
configure_file(copyright.in ${documents}/copyright @ONLY)
configure_file(changelog.in ${documents}/changelog @ONLY)
add_custom_command(
  OUTPUT ${documents}/changelog.gz
  COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" ${documents}/changelog ${documents}/changelog.gz
  DEPENDS ${documents}/changelog
  VERBATIM)
add_custom_target(vtrak-documents ALL DEPENDS ${documents}/changelog.gz)
install(FILES ${documents}/copyright ${documents}/changelog.gz DESTINATION share/doc/vtrak)
