# Warnings are errors in our own code; applied per target so that generated
# code (Qt's moc) and third-party headers stay out of it.
function(veltrano_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Werror
    -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wconversion -Wsign-conversion
    -Wimplicit-fallthrough)
endfunction()

# A stand-in runtime library: shared, because process-wide state of the
# platform it replaces (running-object table, message-box back end) must exist
# once per process, whichever module calls it.
function(veltrano_platform_library name)
  add_library(${name} SHARED ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  veltrano_warnings(${name})
endfunction()

# One GoogleTest executable per subsystem. The source and build trees reach
# the tests through the environment (set at start-up by test_environment.cpp,
# so a test program run by hand behaves as under ctest).
function(veltrano_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/test_environment.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    VELTRANO_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    VELTRANO_TEST_BINARY_DIR="${PROJECT_BINARY_DIR}")
  veltrano_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
