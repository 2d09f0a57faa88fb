# tests of the deliverables as users run and install them

# The command-line conventions of run and vardotool, with real processes.
if(TARGET run AND TARGET vardowindowdriver)
    vardo_add_test(commandline LIBS vardo-test-support)
    add_dependencies(tst_commandline run vardotool vardowindowdriver sample-document)
    target_compile_definitions(tst_commandline PRIVATE
        SAMPLE_DOCUMENT="${VARDO_SAMPLE_DOCUMENT}"
        VARDO_TEST_PLUGIN_DIR="${CMAKE_BINARY_DIR}/testplugins")
endif()
vardo_add_test(viewercommandline LIBS viewer-ui)

# A read-only program folder, as a distribution package installs it: the test makes
# its own folder read-only, so it runs from a directory of its own.
vardo_add_test(systeminstall LIBS viewer-ui vardo-test-support)
set_target_properties(tst_systeminstall PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/deliverables/systeminstall)

# The Debian package as a user installs it.
find_program(DPKG_DEB_EXECUTABLE dpkg-deb)
if(UNIX AND NOT APPLE AND DPKG_DEB_EXECUTABLE)
    add_test(NAME debpackage COMMAND ${CMAKE_COMMAND}
        -DCPACK=${CMAKE_CPACK_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSAMPLE=${VARDO_SAMPLE_DOCUMENT}
        -DVERSION=${PROJECT_VERSION} -DWORK=${CMAKE_BINARY_DIR}/tests/debpackage
        -P ${CMAKE_CURRENT_SOURCE_DIR}/packaging/debpackage.cmake)
    set_tests_properties(debpackage PROPERTIES TIMEOUT 600)
endif()
