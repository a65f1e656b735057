# Shared part of the toolchain files: Debian's mingw-w64 compilers for
# KORVEL_TARGET_TRIPLE (the default "win32" thread-model alternatives), and
# Wine (through scripts/wine-run.sh) to run the programs they build (tests,
# try_run). The including file sets CMAKE_SYSTEM_PROCESSOR and the triple.

set(CMAKE_SYSTEM_NAME Windows)
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
