# Cross build for 64-bit Windows from the same sources, for testing on hosts
# that cannot run 32-bit x86 programs: its programs run under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(bottles_mingw x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
