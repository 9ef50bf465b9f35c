# What the two MinGW-w64 toolchain files share; each sets bottles_mingw (the
# target triplet) and CMAKE_SYSTEM_PROCESSOR first. The Windows programs (the
# tests among them) run under Wine through tools/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
# The POSIX thread model: GoogleTest needs std::mutex, which the win32 model
# of GCC 12 lacks. Linked statically, it adds no DLL.
set(CMAKE_C_COMPILER ${bottles_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${bottles_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${bottles_mingw}-windres)
set(CMAKE_AR ${bottles_mingw}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${bottles_mingw}-ranlib CACHE FILEPATH "")

# -Os rather than CMake's -O3 for Release: the program does little work per
# click and is downloaded whole, so its size counts more than its speed
# (about 45 KB less than -O2); and GCC 12 at -O3 warns falsely (-Wrestrict)
# inside std::string, which -Werror turns into a failed build.
set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG" CACHE STRING "Flags of Release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG" CACHE STRING "Flags of Release builds")

set(CMAKE_FIND_ROOT_PATH /usr/${bottles_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

get_filename_component(bottles_tools "${CMAKE_CURRENT_LIST_DIR}/../tools" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${bottles_tools}/wine-run.sh)
