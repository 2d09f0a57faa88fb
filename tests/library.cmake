# tests of the library area

# The library keeps its settings, logs and update work files beside the running
# program, so each of these tests runs from a directory of its own.
function(library_test unit)
    vardo_add_test(${unit} ${ARGN})
    set_target_properties(tst_${unit} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/library/${unit})
endfunction()

library_test(common LIBS tavi-viewer)
library_test(simplecrypt LIBS tavi-viewer)
library_test(uiutils LIBS tavi-viewer SOURCES fixtures/library/uiutils.qrc)
library_test(sortfilterproxymodel LIBS tavi-viewer)
library_test(applicationversion LIBS tavi-viewer vardo-test-support)
library_test(updatepackage LIBS tavi-viewer vardo-test-support)
