# One static library per folder of the layout. Sources are globbed, so adding a
# file needs no edit here; tests/<folder>/ becomes the test program test_<name>.

function(zarvel_pkg target)
  # zarvel_pkg(<imported-name> <pkg-config module>...) resolves once.
  if(NOT TARGET PkgConfig::${target})
    pkg_check_modules(${target} REQUIRED IMPORTED_TARGET GLOBAL ${ARGN})
  endif()
endfunction()

function(zarvel_library name dir)
  cmake_parse_arguments(L "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       "${CMAKE_SOURCE_DIR}/${dir}/*.cpp" "${CMAKE_SOURCE_DIR}/${dir}/*.c")
  list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
  if(NOT srcs)
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}")
  target_link_libraries(${name} PUBLIC ${L_DEPS})

  file(GLOB_RECURSE tests CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp")
  if(tests)
    add_executable(test_${name} ${tests})
    target_link_libraries(test_${name} PRIVATE ${name} GTest::gtest GTest::gmock GTest::gtest_main)
    set(labels)
    if(test_${name} IN_LIST ZARVEL_THREAD_TESTS)
      set(labels threads)
      add_dependencies(thread_tests test_${name})
    endif()
    gtest_discover_tests(test_${name}
        WORKING_DIRECTORY "${CMAKE_BINARY_DIR}"
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "ZARVEL_TEST_TMP=${CMAKE_BINARY_DIR}/test-tmp"
                   TIMEOUT ${ZARVEL_TEST_TIMEOUT} LABELS "${labels}")
  endif()
endfunction()

function(zarvel_existing out)
  # Keeps the targets that exist, so a library can name neighbours not yet built.
  set(result)
  foreach(t ${ARGN})
    if(TARGET ${t} OR t MATCHES "::")
      list(APPEND result ${t})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# Test programs with tests that start threads or use two database connections:
# they carry the ctest label "threads", and the target thread_tests builds them
# (the ThreadSanitizer build in CI runs `ctest -L threads`, with
# TSAN_OPTIONS=suppressions=tests/tsan.supp).
set(ZARVEL_THREAD_TESTS test_foundation test_graphics test_text test_services test_core test_app test_backend_sdl
    test_tktables test_tkcore test_bookmarks test_search test_media test_audio test_tkweb test_social test_sharing
    test_settings test_reading)
add_custom_target(thread_tests)

zarvel_pkg(CAIRO cairo)
zarvel_pkg(PANGO pangocairo)
zarvel_pkg(CURL libcurl)

# --- platform -----------------------------------------------------------------
zarvel_library(foundation platform/foundation DEPS Threads::Threads PkgConfig::CURL)
# The build's folders reach one file only (ns::builtResourceDirectory), so the
# other object files do not depend on where the tree is built.
set_source_files_properties("${CMAKE_SOURCE_DIR}/platform/foundation/BuildPaths.cpp" PROPERTIES
    COMPILE_DEFINITIONS "ZARVEL_RESOURCE_DIR=\"${ZARVEL_RESOURCE_DIR}\";ZARVEL_SOURCE_DIR=\"${CMAKE_SOURCE_DIR}\"")
zarvel_pkg(JPEG libjpeg)
zarvel_existing(d foundation PkgConfig::CAIRO PkgConfig::JPEG)
zarvel_library(graphics platform/graphics DEPS ${d})
zarvel_existing(d foundation graphics PkgConfig::PANGO)
zarvel_library(text platform/text DEPS ${d})
zarvel_existing(d foundation graphics text)
zarvel_library(ui platform/ui DEPS ${d})
zarvel_existing(d foundation ui)
zarvel_library(services platform/services DEPS ${d})
# Sound: MP3 decoding with libmpg123, output through SDL2 audio (no window
# needed) or the silent device of tests and headless runs.
zarvel_pkg(MPG123 libmpg123)
zarvel_pkg(SDL2 sdl2)
zarvel_existing(d foundation PkgConfig::MPG123 PkgConfig::SDL2)
zarvel_library(media platform/media DEPS ${d})
# Tests make their recitation fixtures with LAME (tests/support/ToneMp3.h).
find_library(ZARVEL_MP3LAME mp3lame REQUIRED)
function(zarvel_tone_fixtures target)
  if(TARGET ${target})
    target_link_libraries(${target} PRIVATE ${ZARVEL_MP3LAME})
  endif()
endfunction()
zarvel_tone_fixtures(test_media)
zarvel_existing(d foundation ui services)
zarvel_library(backend_headless platform/backend/headless DEPS ${d})
if(TARGET test_ui AND TARGET backend_headless)
  target_link_libraries(test_ui PRIVATE backend_headless)  # scripted gestures
endif()
if(EXISTS "${CMAKE_SOURCE_DIR}/platform/backend/sdl")
  zarvel_pkg(SDL2 sdl2)
  zarvel_existing(d foundation ui services backend_headless PkgConfig::SDL2)
  zarvel_library(backend_sdl platform/backend/sdl DEPS ${d})
endif()

# --- the toolkit ---------------------------------------------------------------
find_package(OpenSSL REQUIRED)
zarvel_existing(d foundation graphics text ui services OpenSSL::Crypto)
zarvel_library(tkcore toolkit/core DEPS ${d})
if(TARGET test_tkcore AND TARGET backend_headless)
  target_link_libraries(test_tkcore PRIVATE backend_headless)
endif()
# The desktop's web engine, apart from the toolkit's core so that only the
# program and the tests that show real pages load WebKit.
zarvel_pkg(WEBKIT webkit2gtk-4.1)
zarvel_existing(d tkcore foundation ui PkgConfig::WEBKIT)
zarvel_library(tkweb toolkit/web DEPS ${d})
if(TARGET test_tkweb AND TARGET backend_headless)
  target_link_libraries(test_tkweb PRIVATE backend_headless)
endif()
zarvel_pkg(EXPAT expat)
zarvel_pkg(FRIBIDI fribidi)
zarvel_existing(d tkcore foundation graphics text ui services PkgConfig::EXPAT PkgConfig::FRIBIDI)
zarvel_library(tkstyled toolkit/styled DEPS ${d})
if(TARGET test_tkstyled AND TARGET backend_headless)
  target_link_libraries(test_tkstyled PRIVATE backend_headless)
endif()
zarvel_existing(d tkstyled tkcore foundation graphics text ui services)
zarvel_library(tktables toolkit/tables DEPS ${d})
if(TARGET test_tktables AND TARGET backend_headless)
  target_link_libraries(test_tktables PRIVATE backend_headless)
endif()

# --- social-network client ----------------------------------------------------
zarvel_library(json src/JSON DEPS foundation)
# The client: its session, requests and dialogs, on the JSON codec and the
# toolkit's web view. Where the network is comes from the build's defaults
# (none), then the data folder and the environment.
set(ZARVEL_SOCIAL_APP_ID "" CACHE STRING "The application's id with the social network")
set(ZARVEL_SOCIAL_DIALOG_URL "" CACHE STRING "The social network's dialog service")
set(ZARVEL_SOCIAL_GRAPH_URL "" CACHE STRING "The social network's Graph service")
set(ZARVEL_SOCIAL_REST_URL "" CACHE STRING "The social network's REST service")
set(ZARVEL_SOCIAL_LOGIN_HOST "" CACHE STRING "The social network's login host")
zarvel_existing(d json tkcore foundation graphics ui services)
zarvel_library(social src/Social DEPS ${d})
set_source_files_properties("${CMAKE_SOURCE_DIR}/src/Social/SocialConfiguration.cpp" PROPERTIES COMPILE_DEFINITIONS
    "ZARVEL_SOCIAL_APP_ID=\"${ZARVEL_SOCIAL_APP_ID}\";ZARVEL_SOCIAL_DIALOG_URL=\"${ZARVEL_SOCIAL_DIALOG_URL}\";ZARVEL_SOCIAL_GRAPH_URL=\"${ZARVEL_SOCIAL_GRAPH_URL}\";ZARVEL_SOCIAL_REST_URL=\"${ZARVEL_SOCIAL_REST_URL}\";ZARVEL_SOCIAL_LOGIN_HOST=\"${ZARVEL_SOCIAL_LOGIN_HOST}\"")
if(TARGET test_social)
  target_link_libraries(test_social PRIVATE tkweb backend_headless)
endif()

# --- application -------------------------------------------------------------
find_package(SQLite3 REQUIRED)
find_package(ZLIB REQUIRED)
zarvel_existing(d foundation text graphics SQLite::SQLite3 ZLIB::ZLIB)
zarvel_library(core Classes/core DEPS ${d})
zarvel_pkg(PIXMAN pixman-1)
zarvel_existing(d core graphics ui PkgConfig::PIXMAN)
zarvel_library(glyphs Classes/glyphs DEPS ${d})
# The screens, in the order they stand on one another: the parts several
# screens share first, the note pad and the audio code below the reading
# screen, the tab screens above it, the shell last.
set(ZARVEL_SCREENS common notes audio sharing reading index bookmarks search settings shell)
set(built)
foreach(lib ${ZARVEL_SCREENS})
  zarvel_existing(d core glyphs ui services media tkstyled tktables social ${built})
  zarvel_library(${lib} Classes/${lib} DEPS ${d})
  if(TARGET ${lib})
    list(APPEND built ${lib})
  endif()
endforeach()
zarvel_existing(d core glyphs ${built} ui services social)
zarvel_library(app Classes/app DEPS ${d})
# The screens reach the application delegate's services (defined in app),
# which builds the shell that holds them: the static libraries link in a circle.
# The circle is long (a screen reached through the shell needs the shared
# parts again), so the linker gets it three times.
if(TARGET app)
  set_property(TARGET app PROPERTY LINK_INTERFACE_MULTIPLICITY 3)
endif()
foreach(lib ${built})
  if(TARGET app)
    target_link_libraries(${lib} PUBLIC app)
  endif()
  if(TARGET test_${lib} AND TARGET backend_headless)
    target_link_libraries(test_${lib} PRIVATE app backend_headless)  # the screens run headless in their tests
  endif()
endforeach()
zarvel_tone_fixtures(test_audio)
zarvel_tone_fixtures(test_shell)
zarvel_tone_fixtures(test_settings)
zarvel_tone_fixtures(test_reading)
if(TARGET test_app AND TARGET backend_headless)
  target_link_libraries(test_app PRIVATE backend_headless)  # the application runs headless in its tests
endif()
if(TARGET test_sharing)
  target_link_libraries(test_sharing PRIVATE tkweb)  # the login dialog on the real engine
endif()
if(TARGET test_settings)
  target_link_libraries(test_settings PRIVATE tkweb)  # the shipped pages on the real engine
endif()
if(TARGET test_app AND TARGET backend_sdl)
  target_link_libraries(test_app PRIVATE backend_sdl)  # and in a window, to its exit
endif()

# --- build-time tools, resources and the application ---------------------------
foreach(sub resources tools)
  if(EXISTS "${CMAKE_SOURCE_DIR}/${sub}/CMakeLists.txt")
    add_subdirectory(${sub})
  endif()
endforeach()

if(EXISTS "${CMAKE_SOURCE_DIR}/Classes/main.cpp")
  add_executable(zarvel "${CMAKE_SOURCE_DIR}/Classes/main.cpp")
  zarvel_existing(d app ${built} core glyphs ui services tkweb backend_sdl backend_headless)
  target_link_libraries(zarvel PRIVATE ${d})
  add_test(NAME zarvel_headless_screenshot
           COMMAND ${CMAKE_COMMAND} -DAPP=$<TARGET_FILE:zarvel> -DWORK=${CMAKE_BINARY_DIR}/test-tmp/headless-run
                   -P "${CMAKE_SOURCE_DIR}/tests/Classes/app/HeadlessRun.cmake")
  set_tests_properties(zarvel_headless_screenshot PROPERTIES TIMEOUT ${ZARVEL_TEST_TIMEOUT})
endif()
if(EXISTS "${CMAKE_SOURCE_DIR}/scripts/install-desktop")
  add_test(NAME install_desktop
           COMMAND bash "${CMAKE_SOURCE_DIR}/tests/scripts/InstallDesktopTest.sh" "${CMAKE_BINARY_DIR}/test-tmp/install-desktop")
  set_tests_properties(install_desktop PROPERTIES TIMEOUT ${ZARVEL_TEST_TIMEOUT})
endif()

if(ZARVEL_BENCH AND EXISTS "${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt")
  add_subdirectory(bench)
endif()

if(ZARVEL_FUZZ)
  add_subdirectory(fuzz)
endif()
