# Our own code's warnings, applied per target so that third-party code built
# here (GoogleTest in the Windows build) keeps its own. Errors only when asked
# for (the presets and CI do): a user's compiler may warn where ours does not.
option(VELTRANO_WARNINGS_AS_ERRORS "Treat warnings in Veltrano's own code as errors" OFF)

# The names of our own code checked by clang-tidy (.clang-tidy), as CI's clang
# build does; tests and benchmarks are left to their framework's naming.
option(VELTRANO_CLANG_TIDY "Check the names of Veltrano's own code with clang-tidy" OFF)
if(VELTRANO_CLANG_TIDY)
  find_program(VELTRANO_CLANG_TIDY_PROGRAM NAMES clang-tidy clang-tidy-14 REQUIRED)
endif()

function(veltrano_warnings target)
  if(WIN32)
    # MinGW-w64's printf checks do not know the C99 formats its runtime has.
    target_compile_options(${target} PRIVATE -Wno-format)
  endif()
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic
    -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wconversion -Wsign-conversion
    -Wimplicit-fallthrough)
  # GCC 12 at -O3 warns about libstdc++'s own string code (GCC bug 105329), a
  # false positive: shown, never an error.
  if(NOT WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE "$<$<CONFIG:Release>:-Wno-error=restrict>")
  endif()
  # Off leaves the property as CMake set it (CMAKE_COMPILE_WARNING_AS_ERROR).
  if(VELTRANO_WARNINGS_AS_ERRORS)
    set_target_properties(${target} PROPERTIES COMPILE_WARNING_AS_ERROR ON)
  endif()
  if(VELTRANO_CLANG_TIDY AND NOT CMAKE_CURRENT_SOURCE_DIR MATCHES "^${PROJECT_SOURCE_DIR}/(tests|bench)(/|$)")
    set_target_properties(${target} PROPERTIES CXX_CLANG_TIDY "${VELTRANO_CLANG_TIDY_PROGRAM};--quiet")
  endif()
endfunction()

# A module that must stay unloadable: GCC's unique symbols (make_shared's type
# tag, inline statics) would pin it in memory once loaded. ELF and GCC only: a
# DLL has none, and clang makes none (nor knows the option).
function(veltrano_unloadable target)
  if(NOT WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -fno-gnu-unique)
  endif()
endfunction()

# A stand-in runtime library. On Linux it is shared, because process-wide state
# of the platform it replaces (running-object table, message-box back end)
# must exist once per process, whichever module calls it. On Windows the real
# platform holds that state (COM, the process's environment), and each program
# carries its own static copy, so that it needs no DLL beside it.
function(veltrano_platform_library name)
  if(WIN32)
    add_library(${name} STATIC ${ARGN})
  else()
    add_library(${name} SHARED ${ARGN})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  veltrano_warnings(${name})
endfunction()

# One GoogleTest executable per subsystem. The source and build trees reach
# the tests through the environment (set at start-up by test_environment.cpp,
# so a test program run by hand behaves as under ctest).
#
# The Windows build registers each program as one test, run under Wine in the
# prefix that the wine_prefix test makes first: discovering the cases would
# start Wine once per case, and at build time.
function(veltrano_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/test_environment.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    VELTRANO_TEST_SOURCE_DIR="${VELTRANO_HOST_PATH_PREFIX}${PROJECT_SOURCE_DIR}"
    VELTRANO_TEST_BINARY_DIR="${VELTRANO_HOST_PATH_PREFIX}${PROJECT_BINARY_DIR}")
  veltrano_warnings(${name})
  # Test code needs neither the library's optimisation nor debug info, and
  # takes most of the build's time with them (about half the compile time);
  # the Windows builds are Release.
  target_compile_options(${name} PRIVATE "$<$<CONFIG:RelWithDebInfo,Release>:-O1;-g0>")
  if(WIN32)
    # The library's objects linked into a test read their version from it.
    veltrano_version_resource(${name} "Veltrano test program")
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    veltrano_wine_test(${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
