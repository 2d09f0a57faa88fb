# What the programs and the library carry on Windows: the GUI subsystem (set on the
# targets themselves) and a resource file with their icons and version, generated
# from the project's version.

# vardo_add_version_resource(<target> <description> [ICONS icon.ico...])
# The first icon is the file's own; the others follow in order (the installer gives
# .vardo documents the second).
function(vardo_add_version_resource target description)
    cmake_parse_arguments(ARG "" "" "ICONS" ${ARGN})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        set(VARDO_RC_FILETYPE VFT_APP)
        set(VARDO_RC_FILENAME "${target}.exe")
    else()
        set(VARDO_RC_FILETYPE VFT_DLL)
        set(VARDO_RC_FILENAME "${target}.dll")
    endif()
    set(VARDO_RC_TARGET ${target})
    set(VARDO_RC_DESCRIPTION "${description}")
    set(VARDO_RC_ICONS "")
    set(id 1)
    foreach(icon IN LISTS ARG_ICONS)
        string(APPEND VARDO_RC_ICONS "${id} ICON \"${icon}\"\n")
        math(EXPR id "${id} + 1")
    endforeach()
    set(rc ${CMAKE_BINARY_DIR}/generated/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/deploy/windows/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()

if(WIN32)
    set(vardo_document_icon ${PROJECT_SOURCE_DIR}/deploy/icons/application-x-vardo.ico)
    if(TARGET run)
        vardo_add_version_resource(run "Vardo Viewer"
            ICONS ${PROJECT_SOURCE_DIR}/viewer/ui/images/VardoViewer.ico ${vardo_document_icon})
    endif()
    if(TARGET VardoViewer)
        vardo_add_version_resource(VardoViewer "Vardo Viewer - pembaruan"
            ICONS ${PROJECT_SOURCE_DIR}/updater/images/app-icon.ico ${vardo_document_icon})
    endif()
    vardo_add_version_resource(tavi-viewer "Vardo Viewer - pustaka bersama")
    if(TARGET vardotool)
        vardo_add_version_resource(vardotool "Vardo Viewer - alat baris perintah")
    endif()
endif()
