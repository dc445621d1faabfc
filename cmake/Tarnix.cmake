# tarnix_library(<name> SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
# One static library per source folder; headers are included as "platform/runtime/x.h".
function(tarnix_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/generated)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# tarnix_test(<name> SOURCES ... [DEPS ...])
# One GoogleTest executable per folder, every test registered with CTest. Under CTest a test's
# configuration folder is one in the build tree, so nothing a test stores (an autostart entry, a
# registry on its default folder) reaches the user's own ~/.config.
function(tarnix_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300
        ENVIRONMENT "XDG_CONFIG_HOME=${PROJECT_BINARY_DIR}/test-config")
endfunction()

# The installed program folder, below the prefix: the executable and everything beside it.
set(TARNIX_INSTALL_PROGRAM_DIR lib/tarnix)

# tarnix_desktop_test(<name> <command> [args...])
# A test run whole inside a desktop session of its own (scripts/desktop-session: Xvfb, a window
# manager, a tray host, a notification daemon). Under the sanitizers the toolkit's allocations are
# traced to their callers (slow unwinding), so that a leak of ours is told from the libraries' own.
function(tarnix_desktop_test name)
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/scripts/desktop-session ${ARGN})
    set_tests_properties(${name} PROPERTIES LABELS desktop TIMEOUT 600 ENVIRONMENT
        "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0")
endfunction()
