# Packages made by CPack from the install rules (deploy/CMakeLists.txt):
#   cpack -G DEB   the Debian package, a system installation under /usr
#   cpack          on Windows, the per-user installer (WiX, deploy/windows/)

set(VARDO_PACKAGE_CONTACT "Vardo Viewer <vardo-viewer@kora.invalid>" CACHE STRING
    "Maintainer named in the packages")

set(CPACK_PACKAGE_NAME "vardo-viewer")
set(CPACK_PACKAGE_VENDOR "${VARDO_VENDOR}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${VARDO_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Penampil dokumen informasi debitur (.vardo)")
set(CPACK_PACKAGE_DESCRIPTION
    "Membuka dokumen Vardo terenkripsi dan menampilkan laporan debitur perorangan atau badan usaha, yang dapat dicetak atau diekspor ke PDF dan teks. Termasuk vardotool untuk baris perintah.")
set(CPACK_PACKAGE_EXECUTABLES "VardoViewer" "Vardo Viewer")
set(CPACK_STRIP_FILES ON)

# Debian: the libraries come from shlibdeps; the QML modules the shell imports at run
# time are named by hand, as no link shows them.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${CMAKE_BINARY_DIR}/bin")
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml-module-qtquick2, qml-module-qtquick-window2, qml-module-qtquick-layouts, qml-module-qtquick-controls, qml-module-qtquick-controls2, qml-module-qtquick-dialogs, qml-module-qtquick-templates2, qml-module-qtqml-models2, qml-module-qt-labs-folderlistmodel, qml-module-qt-labs-settings, qml-module-qtquick-privatewidgets, qml-module-qtquick-extras")

# Windows: one user's installation, see deploy/windows/installer.wxs.in. The upgrade
# code stays the same for every version, so that a new installer replaces the old one.
set(CPACK_WIX_UPGRADE_GUID "0EA4B280-6874-44E3-BDC1-B1E2CFD446E3")
set(CPACK_WIX_TEMPLATE "${PROJECT_SOURCE_DIR}/deploy/windows/installer.wxs.in")
set(CPACK_WIX_PATCH_FILE "${PROJECT_SOURCE_DIR}/deploy/windows/association.xml")
set(CPACK_WIX_PRODUCT_ICON "${PROJECT_SOURCE_DIR}/viewer/ui/images/VardoViewer.ico")
set(CPACK_WIX_PROGRAM_MENU_FOLDER "Vardo Viewer")
set(CPACK_WIX_PROPERTY_ARPNOMODIFY "1")
# No dialogs: the installer has nothing to ask, the folder is fixed.
set(CPACK_WIX_SKIP_WIX_UI_EXTENSION ON)
set(CPACK_WIX_ROOT_FOLDER_ID "LocalAppDataFolder")
# Files in a user's profile keep no registry key path; these checks assume one.
set(CPACK_WIX_LIGHT_EXTRA_FLAGS "-sice:ICE38" "-sice:ICE64" "-sice:ICE91")
if(WIN32)
    set(CPACK_GENERATOR "WIX")
    set(CPACK_PACKAGE_INSTALL_DIRECTORY "Programs/VardoViewer")
else()
    set(CPACK_GENERATOR "DEB")
endif()

include(CPack)
