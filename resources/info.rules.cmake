# The bundle's information, "Info.strings" in the resource folder: the
# project's version (CFBundleShortVersionString) and the build's number
# (CFBundleVersion), the count of commits of the tree it is built from. The
# script runs at every build and rewrites the file only when either changed.
set(info "${ZARVEL_RESOURCE_DIR}/Info.strings")
add_custom_target(bundle_info ALL
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DVERSION=${PROJECT_VERSION} -DOUT=${info}
            -P "${CMAKE_CURRENT_SOURCE_DIR}/Info.cmake"
    BYPRODUCTS "${info}"
    COMMENT "Stamping the bundle's version and build"
    VERBATIM)
list(APPEND ZARVEL_RESOURCE_TARGETS bundle_info)
