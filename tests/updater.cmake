# tests of the updater area
vardo_add_test(makeupdate LIBS QuaZip::QuaZip Qt5::Xml)
add_dependencies(tst_makeupdate vardotool)

vardo_add_test(updater LIBS updater-core vardo-test-support)
add_dependencies(tst_updater VardoViewer vardotool)

# The whole path with real processes on an installed application directory.
vardo_add_test(updatepath LIBS tavi-updater-lib vardo-test-support)
target_compile_definitions(tst_updatepath PRIVATE
    VARDO_BUILD_DIR="${CMAKE_BINARY_DIR}"
    VARDO_CMAKE_COMMAND="${CMAKE_COMMAND}"
    VARDO_TEST_PLUGIN_DIR="${CMAKE_BINARY_DIR}/testplugins")
add_dependencies(tst_updatepath run VardoViewer tavi-viewer vardotool vardo-test-updateserver vardowindowdriver)
