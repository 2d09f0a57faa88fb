# tests of the document area
vardo_add_test(bufferaes LIBS viewer-core)
