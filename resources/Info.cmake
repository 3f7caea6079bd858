# cmake -DSOURCE_DIR=<tree> -DVERSION=<x.y> -DOUT=<Info.strings> -P Info.cmake
# The build's number is the count of commits behind the tree's HEAD; 0 when
# the tree is no git checkout.
set(build 0)
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND "${GIT_EXECUTABLE}" rev-list --count HEAD
                  WORKING_DIRECTORY "${SOURCE_DIR}" OUTPUT_VARIABLE count RESULT_VARIABLE status
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(status EQUAL 0 AND count MATCHES "^[0-9]+$")
    set(build "${count}")
  endif()
endif()
# One quoted string: its semicolons are text, not list separators.
set(text "/* The bundle's information, written by the build. */\n\"CFBundleShortVersionString\" = \"${VERSION}\";\n\"CFBundleVersion\" = \"${build}\";\n")
set(old "")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUT}" "${text}")
endif()
