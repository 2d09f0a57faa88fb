# tests of the updater area
vardo_add_test(makeupdate LIBS QuaZip::QuaZip Qt5::Xml)
add_dependencies(tst_makeupdate vardotool)

vardo_add_test(updater LIBS updater-core tavi-updater-testkey vardo-test-support)
target_compile_definitions(tst_updater PRIVATE VARDO_TEST_KEY_BIN_DIR="${VARDO_TEST_KEY_BIN_DIR}")
add_dependencies(tst_updater VardoViewer-testkey vardotool)

# The whole path with real processes on an installed application directory.
vardo_add_test(updatepath LIBS tavi-updater-lib tavi-updater-testkey vardo-test-support)
target_compile_definitions(tst_updatepath PRIVATE
    VARDO_BUILD_DIR="${CMAKE_BINARY_DIR}"
    VARDO_CMAKE_COMMAND="${CMAKE_COMMAND}"
    VARDO_TEST_PLUGIN_DIR="${CMAKE_BINARY_DIR}/testplugins"
    VARDO_TEST_KEY_BIN_DIR="${VARDO_TEST_KEY_BIN_DIR}")
add_dependencies(tst_updatepath run VardoViewer tavi-viewer tavi-viewer-testkey VardoViewer-testkey vardotool vardo-test-updateserver vardowindowdriver)
