# Toolchain file: cross-compiles for 64-bit Windows with Debian's mingw-w64
# compilers and runs the programs it builds under Wine.
#
#   cmake -S . -B build/x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake

set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KORVEL_TARGET_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
