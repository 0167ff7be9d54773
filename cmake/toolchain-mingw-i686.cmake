# Cross-build for 32-bit Windows with Debian's MinGW-w64. The -posix compilers are needed: the
# -win32 ones have no std::thread or std::mutex. Everything is linked statically, so the programs
# need no DLL beside them; the tests run under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(mingw_prefix i686-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# GCC 12 reports false -Wrestrict overlaps in std::string concatenation on 32-bit targets
# (https://gcc.gnu.org/bugzilla/show_bug.cgi?id=105329).
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
