# tests of the report area
vardo_add_test(documentdate LIBS viewer-core)
vardo_add_test(subjectrecords LIBS viewer-core)
vardo_add_test(facilityhistory LIBS viewer-core)
vardo_add_test(facilityrecords LIBS viewer-core)
vardo_add_test(datasources LIBS viewer-core)
vardo_add_test(tavids LIBS viewer-core)
vardo_add_test(exportwriter LIBS viewer-core)
vardo_add_test(textexport LIBS viewer-core)
