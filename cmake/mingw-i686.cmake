# Cross build for 32-bit Windows, the program as shipped, with Debian's
# MinGW-w64; its programs run under 32-bit Wine (tools/wine-run.sh).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(bottles_mingw i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
