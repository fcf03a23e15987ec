# 64-bit Windows (x64): wine64 runs its programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELTRANO_MINGW_TRIPLET x86_64-w64-mingw32)
set(VELTRANO_WINE_LOADER wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
