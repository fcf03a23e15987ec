# 32-bit Windows (x86): wine (the 32-bit loader) runs its programs.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELTRANO_MINGW_TRIPLET i686-w64-mingw32)
set(VELTRANO_WINE_LOADER wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
