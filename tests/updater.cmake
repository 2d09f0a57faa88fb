# tests of the updater area
vardo_add_test(makeupdate LIBS QuaZip::QuaZip Qt5::Xml)
if(TARGET vardotool)
    add_dependencies(tst_makeupdate vardotool)
endif()

if(TARGET updater-core)
    vardo_add_test(updater LIBS updater-core vardo-test-support)
    add_dependencies(tst_updater VardoViewer vardotool)
endif()
