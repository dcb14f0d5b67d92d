# The 64-bit Windows programs: Debian's mingw-w64 x86-64 compiler.
set(VARNEL_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
