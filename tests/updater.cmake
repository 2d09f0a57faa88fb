# tests of the updater area
vardo_add_test(makeupdate LIBS QuaZip::QuaZip Qt5::Xml)
if(TARGET vardotool)
    add_dependencies(tst_makeupdate vardotool)
endif()
