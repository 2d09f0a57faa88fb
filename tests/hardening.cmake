# Hardening: bad input and interrupted work through the users' paths.

# Update packages with broken entries, applied to an installation of its own directory.
vardo_add_test(badpackage LIBS tavi-viewer vardo-test-support)
set_target_properties(tst_badpackage PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/hardening/badpackage)
