# Cross build of the Windows programs with one of Debian's mingw-w64 compilers (posix threads variant);
# mingw-i686.cmake and mingw-x86_64.cmake name it (VARNEL_TRIPLET) and the processor.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VARNEL_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNEL_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNEL_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VARNEL_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# CTest runs the Windows test programs through Wine, whose loader the emulator chooses by the program.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-exec.sh)
