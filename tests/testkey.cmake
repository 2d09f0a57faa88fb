# The tests' own builds of the programs and the library, which trust the test key
# in fixtures/update (its secret half signs the test packages). The programs built
# for shipping never trust it: they get VARDO_UPDATE_PUBLIC_KEY.
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/update/test.pub vardo_test_key_lines)
list(GET vardo_test_key_lines 1 VARDO_TEST_UPDATE_KEY)
if(VARDO_UPDATE_PUBLIC_KEY STREQUAL VARDO_TEST_UPDATE_KEY)
    message(FATAL_ERROR "VARDO_UPDATE_PUBLIC_KEY is the test key, whose secret half is in the repository")
endif()

# Same file names as the shipped ones, in a directory of their own, so that a test
# can put them into an installed application directory.
set(VARDO_TEST_KEY_BIN_DIR ${CMAKE_BINARY_DIR}/testkey)
tavi_add_viewer_library(tavi-viewer-testkey "${VARDO_TEST_UPDATE_KEY}")
set_target_properties(tavi-viewer-testkey PROPERTIES OUTPUT_NAME tavi-viewer
    LIBRARY_OUTPUT_DIRECTORY ${VARDO_TEST_KEY_BIN_DIR} RUNTIME_OUTPUT_DIRECTORY ${VARDO_TEST_KEY_BIN_DIR})
tavi_add_update_key(tavi-updater-testkey "${VARDO_TEST_UPDATE_KEY}" TAVI_VIEWER_STATIC)
add_executable(VardoViewer-testkey ${PROJECT_SOURCE_DIR}/updater/main.cpp)
target_link_libraries(VardoViewer-testkey PRIVATE updater-core tavi-updater-testkey)
set_target_properties(VardoViewer-testkey PROPERTIES OUTPUT_NAME VardoViewer
    RUNTIME_OUTPUT_DIRECTORY ${VARDO_TEST_KEY_BIN_DIR})
