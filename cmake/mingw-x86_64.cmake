# Toolchain file: cross-compiles for 64-bit Windows with Debian's mingw-w64
# compilers (the default "win32" thread-model alternatives) and runs the
# programs it builds (tests, try_run) under Wine through scripts/wine-run.sh.
#
#   cmake -S . -B build/x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVEL_TARGET_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${KORVEL_TARGET_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${KORVEL_TARGET_TRIPLE}-g++)
set(CMAKE_RC_COMPILER  ${KORVEL_TARGET_TRIPLE}-windres)

# Headers and libraries come from the target's root only; programs run on the
# build machine. Packages (find_package) are looked for in the target root and
# in the paths given by the user, so an installed Korvel tree is found through
# CMAKE_PREFIX_PATH wherever it lies.
set(CMAKE_FIND_ROOT_PATH /usr/${KORVEL_TARGET_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Windows programs built here are started through Wine.
get_filename_component(KORVEL_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${KORVEL_WINE_RUN}")
