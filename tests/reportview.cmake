# tests of the report view, its templates and its population step
vardo_add_test(reporttemplates LIBS viewer-core vardo-test-support Qt5::Xml)
vardo_add_test(reportrender LIBS viewer-core vardo-test-support)
vardo_add_test(reportwidget LIBS viewer-ui vardo-test-support
    SOURCES support/reportviewfixture.cpp support/reportviewfixture.h)
vardo_add_test(outlinepanel LIBS viewer-ui vardo-test-support
    SOURCES support/reportviewfixture.cpp support/reportviewfixture.h)
vardo_add_test(exportpdf)
add_dependencies(tst_exportpdf vardotool sample-document)
target_compile_definitions(tst_exportpdf PRIVATE SAMPLE_DOCUMENT="${VARDO_SAMPLE_DOCUMENT}")
vardo_add_test(reportpopulation LIBS viewer-core)
