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
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

# A test executable built from the .cpp files of one folder below tests/.
function(keystrel_tests name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;LABELS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
    if(NOT sources)
        # A test folder whose tests are still to be written.
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE keystrel_test_support ${ARG_DEPENDS})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "${KEYSTREL_TEST_ENVIRONMENT}" LABELS "${ARG_LABELS}")
endfunction()
