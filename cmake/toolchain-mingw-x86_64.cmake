# Cross-build for 64-bit Windows with Debian's MinGW-w64. It runs the tests where the kernel cannot
# execute 32-bit programs, and keeps the sources sound for both pointer sizes.
set(mingw_prefix x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)

# The plain "wine" command picks the 32-bit loader whenever it is installed, even where it cannot
# run; Debian keeps the 64-bit one beside it without a command of its own.
find_program(PONTREL_WINE64 wine64 PATHS /usr/lib/wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PONTREL_WINE64})
