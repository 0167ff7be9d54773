# Cross-build for 32-bit Windows with Debian's MinGW-w64: the program we ship.
set(mingw_prefix i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# GCC 12 reports false -Wrestrict overlaps in std::string concatenation on 32-bit targets
# (https://gcc.gnu.org/bugzilla/show_bug.cgi?id=105329).
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
