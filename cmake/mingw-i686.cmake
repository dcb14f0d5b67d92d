# The 32-bit Windows programs: Debian's mingw-w64 i686 compiler.
set(VARNEL_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
