# tests of the reportengine area
add_library(reportengine-testsupport STATIC reportengine/tablesource.cpp reportengine/templatexml.cpp)
target_include_directories(reportengine-testsupport PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/reportengine)
target_link_libraries(reportengine-testsupport PUBLIC reportengine)

vardo_add_test(reportrenderer LIBS reportengine-testsupport)
vardo_add_test(pdfexport LIBS reportengine-testsupport reportengine-widgets vardo-test-support)
vardo_add_test(rendercommand)
add_dependencies(tst_rendercommand vardotool)
target_include_directories(tst_rendercommand PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/reportengine)
vardo_add_test(expressions LIBS reportengine-testsupport)
vardo_add_test(callbackprotocol LIBS reportengine-testsupport)
vardo_add_test(previewreportwidget LIBS reportengine-testsupport reportengine-widgets)
vardo_add_test(templatereader LIBS reportengine-testsupport)
vardo_add_test(textsearch LIBS reportengine-testsupport)
# The highlight is checked against the ink the engine's own painter puts on a sheet.
target_include_directories(tst_textsearch PRIVATE ${PROJECT_SOURCE_DIR}/reportengine/src)
vardo_add_test(findbar LIBS reportengine-testsupport reportengine-widgets)
vardo_add_test(textselection LIBS reportengine-testsupport reportengine-widgets)
vardo_add_test(reportoutline LIBS reportengine-testsupport vardo-test-support)
# Writes an outline with the engine's PDF writer directly.
target_include_directories(tst_reportoutline PRIVATE ${PROJECT_SOURCE_DIR}/reportengine/src)
vardo_add_test(pdfwriter LIBS reportengine vardo-test-support)
# Compares the writer's pages with the engine's own painter and its font subsets with the fonts.
target_include_directories(tst_pdfwriter PRIVATE ${PROJECT_SOURCE_DIR}/reportengine/src)
vardo_add_test(packedpages LIBS reportengine)
