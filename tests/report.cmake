# tests of the report area
vardo_add_test(documentdate LIBS viewer-core)
