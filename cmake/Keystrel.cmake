# One static library per source folder; its sources are the folder's .cpp files.
function(keystrel_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# Headless environment every test runs with, so that a bare `ctest` behaves like `make test`.
set(KEYSTREL_TEST_ENVIRONMENT
    "SDL_VIDEODRIVER=offscreen"
    "SDL_AUDIODRIVER=dummy"
    "LIBGL_ALWAYS_SOFTWARE=1"
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan-suppressions.txt"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

# A test executable built from the .cpp files of one folder below tests/, or from the SOURCES given where several
# executables share a folder. Tests labelled x11 use SDL's X11 driver (the test runner gives them an Xvfb display).
function(keystrel_tests name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;LABELS;SOURCES" ${ARGN})
    if(ARG_SOURCES)
        set(sources ${ARG_SOURCES})
    else()
        file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
    endif()
    if(NOT sources)
        # A test folder whose tests are still to be written.
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE keystrel_test_support ${ARG_DEPENDS})
    set(environment ${KEYSTREL_TEST_ENVIRONMENT})
    if("x11" IN_LIST ARG_LABELS)
        list(TRANSFORM environment REPLACE "^SDL_VIDEODRIVER=.*" "SDL_VIDEODRIVER=x11")
    endif()
    # The variables must reach each test as one ENVIRONMENT value. Test discovery passes the property list
    # through several list expansions before it calls set_tests_properties; its semicolons come through only when
    # escaped with seven backslashes (CMake 3.25's GoogleTest module). Unescaped, every variable after the first
    # would be read as a property name and the labels would be lost.
    string(REPEAT "\\" 7 escape)
    string(REPLACE ";" "${escape};" environment "${environment}")
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "${environment}" LABELS "${ARG_LABELS}")
endfunction()
