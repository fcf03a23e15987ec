# What the Windows build takes from the Linux machine it is made on: Debian's
# header-only libraries and GoogleTest's sources (the packages carry no
# MinGW-w64 builds).

# nlohmann/json and CLI11 alone, not the rest of /usr/include (glibc's
# headers must not reach the cross compiler).
set(VELTRANO_THIRD_PARTY_INCLUDE ${CMAKE_BINARY_DIR}/third-party/include)
file(MAKE_DIRECTORY ${VELTRANO_THIRD_PARTY_INCLUDE})
file(CREATE_LINK /usr/include/nlohmann ${VELTRANO_THIRD_PARTY_INCLUDE}/nlohmann SYMBOLIC)
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${VELTRANO_THIRD_PARTY_INCLUDE})
add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
file(CREATE_LINK /usr/include/CLI ${VELTRANO_THIRD_PARTY_INCLUDE}/CLI SYMBOLIC)
add_library(CLI11 INTERFACE)
target_include_directories(CLI11 SYSTEM INTERFACE ${VELTRANO_THIRD_PARTY_INCLUDE})
add_library(CLI11::CLI11 ALIAS CLI11)

# The DLL carries its type library as a resource.
enable_language(RC)

# Wide-character Win32 functions, no GDI or rarely used headers (their macros,
# GetObject among them, would rename our own members).
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX NOGDI _WIN32_WINNT=0x0601)

function(veltrano_windows_gtest)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest's own CMake names its targets GTest::gtest, GTest::gmock, ...
endfunction()

# One file each: the compiler's runtime (libgcc, libstdc++, winpthread) is
# linked into every program and DLL, which then need nothing beside them but
# the system's DLLs; a runtime DLL of the same name that a host has loaded
# already would otherwise be taken for ours. Stripped, as they ship.
add_link_options(-static -s)

# Wine sees the Linux file system as drive Z:.
set(VELTRANO_HOST_PATH_PREFIX "Z:")

# The bitness built, and the Wine loader of the other one: a script host of
# the other bitness must not reach our in-process server.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VELTRANO_WINDOWS_BITS 64)
  set(other_loader wine)
else()
  set(VELTRANO_WINDOWS_BITS 32)
  set(other_loader wine64)
endif()
find_program(VELTRANO_OTHER_WINE NAMES ${other_loader} PATHS /usr/lib/wine
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)

# A private, headless Wine prefix made afresh by each test run, one per
# architecture's build (always a 64-bit prefix, as a 64-bit Windows, where a
# 32-bit server registers in the WOW6432Node view); no Mono or Gecko
# installers, no display, no debug channels. The shell tests read the bitness
# and the other loader from the environment. Tests that need a prefix of their
# own copy a pristine template (tests/support/wine_prefix_clone.sh), which
# costs a few megabytes instead of 1.3 GB; a passing test removes its copy,
# and the run removes the template and the shared prefixes at its end.
set(VELTRANO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(VELTRANO_WINE_TEMPLATE ${CMAKE_BINARY_DIR}/wine-template)
set(VELTRANO_WINE_VIEWS_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix-views)
set(VELTRANO_WINE_VIEWS_120DPI_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix-views-120dpi)
set(VELTRANO_WINE_ENVIRONMENT
  WINEPREFIX=${VELTRANO_WINE_PREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= DISPLAY=
  VELTRANO_WINDOWS_BITS=${VELTRANO_WINDOWS_BITS} VELTRANO_OTHER_WINE=${VELTRANO_OTHER_WINE}
  VELTRANO_WINE_TEMPLATE=${VELTRANO_WINE_TEMPLATE})

function(veltrano_wine_test name)
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${VELTRANO_WINE_ENVIRONMENT}" FIXTURES_REQUIRED wine_prefix)
endfunction()

# A test in a prefix of its own, copied from the template: ENVIRONMENT is
# what it sets besides the template's place.
function(veltrano_own_prefix_test name)
  cmake_parse_arguments(arg "" "" "ENVIRONMENT" ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix
    ENVIRONMENT "${arg_ENVIRONMENT};VELTRANO_WINE_TEMPLATE=${VELTRANO_WINE_TEMPLATE}")
endfunction()

function(veltrano_wine_prefix_test)
  add_test(NAME wine_prefix COMMAND sh ${PROJECT_SOURCE_DIR}/tests/support/wine_template.sh
    ${VELTRANO_WINE} ${VELTRANO_WINE_TEMPLATE} ${VELTRANO_WINE_PREFIX})
  set_tests_properties(wine_prefix PROPERTIES
    ENVIRONMENT "${VELTRANO_WINE_ENVIRONMENT}" FIXTURES_SETUP wine_prefix TIMEOUT 300)
  add_test(NAME wine_prefix_removed COMMAND sh
    ${PROJECT_SOURCE_DIR}/tests/support/wine_prefix_remove.sh ${VELTRANO_WINE}
    ${VELTRANO_WINE_TEMPLATE} ${VELTRANO_WINE_PREFIX} ${VELTRANO_WINE_VIEWS_PREFIX}
    ${VELTRANO_WINE_VIEWS_120DPI_PREFIX})
  set_tests_properties(wine_prefix_removed PROPERTIES FIXTURES_CLEANUP wine_prefix)
endfunction()

# Differential tests: a program built for both platforms prints the same
# table's results under Linux and under Wine, and the outputs must match.
set(VELTRANO_LINUX_BUILD_DIR ${PROJECT_SOURCE_DIR}/build/default CACHE PATH
  "the Linux build whose programs the Windows ones are compared with")

function(veltrano_linux_twin_test name target linux_program)
  add_test(NAME ${name} COMMAND sh ${PROJECT_SOURCE_DIR}/tests/compare_twins.sh
    ${VELTRANO_LINUX_BUILD_DIR}/${linux_program} ${VELTRANO_WINE} $<TARGET_FILE:${target}> ${ARGN})
  veltrano_wine_test(${name})
endfunction()

# Every shipped program and DLL carries a VERSIONINFO resource made from the
# project's version (the startup panel's "Ver." label reads the library's).
# The agreement (docs/EULA-EN.txt) names the supplier as the holder of every
# right in the software.
set(VELTRANO_COMPANY "The supplier of Veltrano")
set(VELTRANO_COPYRIGHT "Copyright (C) the supplier of Veltrano. All rights reserved; see EULA-EN.txt")
function(veltrano_version_resource target description)
  get_target_property(type ${target} TYPE)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  get_target_property(prefix ${target} PREFIX)
  if(NOT prefix)
    set(prefix "")
  endif()
  set(VR_NAME ${prefix}${name})
  if(type STREQUAL "SHARED_LIBRARY")
    set(VR_FILE ${VR_NAME}.dll)
    set(VR_TYPE VFT_DLL)
  else()
    set(VR_FILE ${VR_NAME}.exe)
    set(VR_TYPE VFT_APP)
  endif()
  set(VR_DESCRIPTION ${description})
  set(major ${PROJECT_VERSION_MAJOR})
  set(minor ${PROJECT_VERSION_MINOR})
  set(patch ${PROJECT_VERSION_PATCH})
  set(tweak ${PROJECT_VERSION_TWEAK})
  foreach(part major minor patch tweak)
    if("${${part}}" STREQUAL "")
      set(${part} 0)
    endif()
  endforeach()
  set(VR_COMMAS "${major},${minor},${patch},${tweak}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
