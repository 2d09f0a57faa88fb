# tests of the document area
vardo_add_test(bufferaes LIBS viewer-core)
vardo_add_test(documentdecoder LIBS viewer-core)
vardo_add_test(exportfilenames LIBS viewer-core)
vardo_add_test(packopen)
add_dependencies(tst_packopen vardotool sample-document)
target_compile_definitions(tst_packopen PRIVATE SAMPLE_DOCUMENT="${VARDO_SAMPLE_DOCUMENT}")
