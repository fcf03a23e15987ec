# Cross build for Windows with Debian's MinGW-w64 (POSIX threads, so that
# std::thread and std::mutex work), tested under Wine. Included by the
# toolchain file of each architecture, which sets CMAKE_SYSTEM_PROCESSOR,
# VELTRANO_MINGW_TRIPLET and VELTRANO_WINE_LOADER first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${VELTRANO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELTRANO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELTRANO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELTRANO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests run through the Wine loader of the programs' own bitness, in the
# prefix that the test run makes.
find_program(VELTRANO_WINE NAMES ${VELTRANO_WINE_LOADER} PATHS /usr/lib/wine
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(VELTRANO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELTRANO_WINE})
endif()
