# The installer and the portable zip in build/dist, made by tools/package.sh whenever a shipped file changes.
# Only where makensis and the shell script can run (the Debian cross build); the version is the project's.
find_program(MAKENSIS makensis)
if(NOT MAKENSIS OR NOT CMAKE_HOST_UNIX)
    message(STATUS "No makensis: the packages are not made")
    return()
endif()
set(VARNEL_DIST_DIR ${CMAKE_SOURCE_DIR}/build/dist)
set(VARNEL_SETUP ${VARNEL_DIST_DIR}/Varnel-${PROJECT_VERSION}-${VARNEL_ARCH_NAME}-setup.exe)
set(VARNEL_PORTABLE ${VARNEL_DIST_DIR}/Varnel-${PROJECT_VERSION}-${VARNEL_ARCH_NAME}-portable.zip)
# The uninstaller's plug-in, for this tree's NSIS target (x86-unicode or amd64-unicode); it is not shipped.
add_library(VarnelSetup MODULE ${CMAKE_SOURCE_DIR}/packaging/VarnelSetup.cpp
                               ${CMAKE_SOURCE_DIR}/controlpanel/OtherDesktops.cpp)
target_include_directories(VarnelSetup PRIVATE ${CMAKE_SOURCE_DIR}/controlpanel)
target_link_libraries(VarnelSetup PRIVATE controlpanel_core varnel_common varnel_warnings)
set_target_properties(VarnelSetup PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/nsis-plugins)
set(shipped)
foreach(target Varnel Tavik1 Tavik2 Tavik3 Tavik4 Pellum1 Pellum2 Pellum3 Pellum4 VarnelEventHandler
               VarnelControlPanel varnelerror FreeImage)
    if(TARGET ${target})
        list(APPEND shipped ${target})
    endif()
endforeach()
add_custom_command(OUTPUT ${VARNEL_SETUP} ${VARNEL_PORTABLE}
    COMMAND bash ${CMAKE_SOURCE_DIR}/tools/package.sh ${VARNEL_PROGRAM_DIR} ${VARNEL_DIST_DIR} ${PROJECT_VERSION}
            ${VARNEL_ARCH_NAME} $<TARGET_FILE_DIR:VarnelSetup>
    DEPENDS ${shipped} VarnelSetup ${VARNEL_PROGRAM_DIR}/VarnelGuide.html ${CMAKE_SOURCE_DIR}/tools/package.sh
            ${CMAKE_SOURCE_DIR}/packaging/Varnel.nsi ${CMAKE_SOURCE_DIR}/packaging/README-portable.txt
    COMMENT "Packages Varnel ${PROJECT_VERSION} ${VARNEL_ARCH_NAME}"
    VERBATIM)
add_custom_target(packages ALL DEPENDS ${VARNEL_SETUP} ${VARNEL_PORTABLE})
