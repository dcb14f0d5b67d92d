# FreeImage.dll for the program folder, built from Debian's FreeImage source package with only what the
# switcher's FreeImage functions need (no format plugins). The source is fetched on first configure, never committed.
# With MSVC the DLL is taken as built: a folder holding a FreeImage.dll of the tree's architecture (FreeImage's
# own Windows distribution, Dist/x32 or Dist/x64), whose names the switcher looks up in either spelling.
if(MSVC)
    set(VARNEL_FREEIMAGE_DIR "" CACHE PATH "Folder holding a FreeImage.dll of this architecture")
    if(NOT EXISTS ${VARNEL_FREEIMAGE_DIR}/FreeImage.dll)
        message(FATAL_ERROR "Give the folder of a ${VARNEL_ARCH_NAME} FreeImage.dll: -DVARNEL_FREEIMAGE_DIR=...")
    endif()
    add_library(FreeImage SHARED IMPORTED GLOBAL)
    set_target_properties(FreeImage PROPERTIES IMPORTED_LOCATION ${VARNEL_FREEIMAGE_DIR}/FreeImage.dll)
    file(COPY ${VARNEL_FREEIMAGE_DIR}/FreeImage.dll DESTINATION ${VARNEL_PROGRAM_DIR})
    return()
endif()
set(FREEIMAGE_FETCH_DIR ${CMAKE_BINARY_DIR}/freeimage-source)
file(GLOB FREEIMAGE_TREE LIST_DIRECTORIES true ${FREEIMAGE_FETCH_DIR}/freeimage-*)
if(NOT FREEIMAGE_TREE)
    file(MAKE_DIRECTORY ${FREEIMAGE_FETCH_DIR})
    message(STATUS "Fetching Debian's FreeImage source package")
    execute_process(COMMAND apt-get source -qq freeimage
                    WORKING_DIRECTORY ${FREEIMAGE_FETCH_DIR}
                    RESULT_VARIABLE fetch_result OUTPUT_QUIET ERROR_QUIET)
    file(GLOB FREEIMAGE_TREE LIST_DIRECTORIES true ${FREEIMAGE_FETCH_DIR}/freeimage-*)
    if(NOT fetch_result EQUAL 0 OR NOT FREEIMAGE_TREE)
        message(FATAL_ERROR "apt-get source freeimage failed (are deb-src entries enabled? tools/setup.sh does it)")
    endif()
endif()
list(GET FREEIMAGE_TREE 0 FREEIMAGE_TREE)
set(FI ${FREEIMAGE_TREE}/Source)

add_library(FreeImage SHARED
    ${FI}/FreeImage/BitmapAccess.cpp
    ${FI}/FreeImage/PixelAccess.cpp
    ${FI}/FreeImage/FreeImage.cpp
    ${FI}/Metadata/FreeImageTag.cpp
    ${FI}/Metadata/TagLib.cpp
    ${FI}/FreeImageToolkit/Rescale.cpp
    ${FI}/FreeImageToolkit/Resize.cpp
    ${CMAKE_SOURCE_DIR}/tools/freeimage/FreeImageStubs.cpp)
# A 64-bit DLL exports the plain names; a 32-bit one both its stdcall names decorated as FreeImage's own
# Windows build has them and plain ones.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_sources(FreeImage PRIVATE ${CMAKE_SOURCE_DIR}/tools/freeimage/FreeImage.def)
endif()
target_include_directories(FreeImage PRIVATE ${FI} ${FI}/Metadata ${FI}/FreeImageToolkit)
target_compile_definitions(FreeImage PRIVATE FREEIMAGE_EXPORTS NDEBUG)
# SSE arithmetic gives the same bytes as Debian's own libfreeimage; the library's old code is not warning-clean.
target_compile_options(FreeImage PRIVATE -O2 -msse2 -mfpmath=sse -w -std=gnu++14)
target_link_options(FreeImage PRIVATE -s -Wl,--no-undefined)
set_target_properties(FreeImage PROPERTIES PREFIX "" OUTPUT_NAME FreeImage
    RUNTIME_OUTPUT_DIRECTORY ${VARNEL_PROGRAM_DIR})
set(FREEIMAGE_INCLUDE_DIR ${FI})
