# tests of the library area

# The library keeps its settings, logs and update work files beside the running
# program, so each of these tests runs from a directory of its own.
function(library_test unit)
    vardo_add_test(${unit} ${ARGN})
    set_target_properties(tst_${unit} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/library/${unit})
endfunction()

library_test(common LIBS tavi-viewer vardo-test-support)
library_test(simplecrypt LIBS tavi-viewer)
library_test(uiutils LIBS tavi-viewer SOURCES fixtures/library/uiutils.qrc)
library_test(sortfilterproxymodel LIBS tavi-viewer)
library_test(applicationversion LIBS tavi-viewer-testkey vardo-test-support)
library_test(updatepackage LIBS tavi-viewer-testkey vardo-test-support)
# A running copy of the test server stands in for the viewer whose file is busy.
add_dependencies(tst_updatepackage vardo-test-updateserver)

# The updater's build of the library sources, run by tst_updatercopy from the same
# directory, so that both read and write one set of files.
add_executable(vardo-test-updatercopy support/updatercopy_main.cpp)
target_link_libraries(vardo-test-updatercopy PRIVATE tavi-updater-lib tavi-updater-testkey)
set_target_properties(vardo-test-updatercopy PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/library/updatercopy)
library_test(updatercopy LIBS tavi-viewer-testkey vardo-test-support)
add_dependencies(tst_updatercopy vardo-test-updatercopy)

library_test(cryptcommand LIBS tavi-viewer vardo-test-support)
add_dependencies(tst_cryptcommand vardotool)

# Signed packages, checked with the test key passed in; some are signed by the release tool.
vardo_add_test(packageverifier LIBS tavi-viewer vardo-test-support)
# The update manager's parts on their own; the installer works beside the program.
library_test(packageinstaller LIBS tavi-viewer vardo-test-support QuaZip::QuaZip)
vardo_add_test(versionregistry LIBS tavi-viewer vardo-test-support)
