# Toolchain file: cross-compiles for 32-bit Windows with Debian's mingw-w64
# compilers and runs the programs it builds under Wine.
#
#   cmake -S . -B build/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake

set(CMAKE_SYSTEM_PROCESSOR i686)
set(KORVEL_TARGET_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
