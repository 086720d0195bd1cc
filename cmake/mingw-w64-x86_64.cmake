# Cross build for 64-bit Windows with Debian's mingw-w64 (the posix thread model, which
# std::thread and std::mutex need). The programs run on Windows or under wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(OMBREL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${OMBREL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OMBREL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${OMBREL_MINGW_PREFIX}-windres)
set(OMBREL_WINDMC ${OMBREL_MINGW_PREFIX}-windmc)

set(CMAKE_FIND_ROOT_PATH /usr/${OMBREL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime libraries of the compiler are linked in, so the programs need no DLL beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The tests run under Wine on the build machine.
find_program(OMBREL_WINE64 NAMES wine64 wine PATHS /usr/lib/wine)
if(OMBREL_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${OMBREL_WINE64})
endif()
