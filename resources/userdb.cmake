# Builds the shipped user database <build>/resources/zarveldyn.db from the
# checked-in schema resources/zarveldyn.sql with the small tool in tools/userdb.
add_executable(userdb "${CMAKE_SOURCE_DIR}/tools/userdb/main.cpp")
target_link_libraries(userdb PRIVATE SQLite::SQLite3)

set(ZARVEL_USERDB_SQL "${CMAKE_SOURCE_DIR}/resources/zarveldyn.sql")
set(ZARVEL_USERDB "${ZARVEL_RESOURCE_DIR}/zarveldyn.db")
add_custom_command(
  OUTPUT "${ZARVEL_USERDB}"
  COMMAND ${ZARVEL_TOOL_ENV} $<TARGET_FILE:userdb> "${ZARVEL_USERDB_SQL}" "${ZARVEL_USERDB}"
  DEPENDS userdb "${ZARVEL_USERDB_SQL}"
  COMMENT "Building the shipped user database zarveldyn.db"
  VERBATIM)
add_custom_target(userdb_resource ALL DEPENDS "${ZARVEL_USERDB}")
