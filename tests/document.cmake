# tests of the document area
vardo_add_test(bufferaes LIBS viewer-core)
vardo_add_test(documentdecoder LIBS viewer-core)
