# Runs the application headless on the built data for a few virtual seconds and
# checks that it wrote its screenshot. -DAPP=<zarvel> -DWORK=<scratch folder>
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env ZARVEL_HEADLESS=1 ZARVEL_STOP_AFTER=5 ZARVEL_HOME=${WORK}/home
          ZARVEL_SCREENSHOT=${WORK}/zarvel.png "${APP}"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the headless run ended with ${status}")
endif()
if("${out}${err}" MATCHES "preferredLang")
  message(FATAL_ERROR "the start printed a debug line:\n${out}${err}")
endif()
if(NOT EXISTS "${WORK}/zarvel.png" OR NOT EXISTS "${WORK}/home/documents/zarveldyn.db")
  message(FATAL_ERROR "the headless run wrote no screenshot or no user database")
endif()
file(READ "${WORK}/zarvel.png" signature LIMIT 8 HEX)
if(NOT signature STREQUAL "89504e470d0a1a0a")
  message(FATAL_ERROR "the screenshot is no PNG")
endif()
