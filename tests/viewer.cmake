# tests of the viewer area
vardo_add_test(tabbutton LIBS viewer-ui)
vardo_add_test(recentfilesstore LIBS viewer-ui)
# The store is also checked with the tool that reads it by hand.
add_dependencies(tst_recentfilesstore vardotool)
vardo_add_test(qmlscreens LIBS viewer-ui)

# The main window keeps its settings, recent files and update files beside the
# running program, so its test runs from a directory of its own.
vardo_add_test(mainwindow LIBS viewer-ui vardo-test-support)
set_target_properties(tst_mainwindow PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/viewer/mainwindow)

# Opening and closing a document in a tab, again and again; the window keeps its
# settings beside the program, so this test too runs from a directory of its own.
vardo_add_test(tabcycle LIBS vardo-test-tabcycle)
set_target_properties(tst_tabcycle PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/viewer/tabcycle)
