# Cross build for 64-bit Windows with Debian's MinGW-w64 compiler. The posix
# flavour, since the win32 one of GCC 12 has no std::thread and std::mutex.
# The programs are linked statically, so they run under Wine (and on Windows)
# without DLLs beside them; CMake runs them through Wine where it runs them
# at all (test discovery, ctest).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZW_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZW_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZW_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ZW_MINGW}-windres)

# The libraries cross-built by scripts/windows-bibliotheken.sh lie in a cache
# folder of their own, which is searched like the compiler's own root.
set(ZW_WIN_BIBLIOTHEKEN "" CACHE PATH "Prefix of the cross-built Windows libraries")
set(CMAKE_FIND_ROOT_PATH /usr/${ZW_MINGW} ${ZW_WIN_BIBLIOTHEKEN})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(ZW_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(ZW_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ZW_WINE})
endif()

# GoogleTest is not packaged for MinGW; FindGTest.cmake beside this file
# builds it from Debian's source package.
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/mingw)
