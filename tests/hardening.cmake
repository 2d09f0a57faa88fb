# Hardening: bad input and interrupted work through the users' paths.

# The main window keeps its settings, recent files and version file beside the
# running program, so the test runs from a directory of its own.
vardo_add_test(badinput LIBS viewer-ui vardo-test-support vardo-test-hostilezip)
set_target_properties(tst_badinput PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/hardening/badinput)
# Built with the sanitizers it takes over three minutes on a loaded machine.
set_tests_properties(badinput PROPERTIES TIMEOUT 900)

# Update packages with broken entries, applied to an installation of its own directory.
vardo_add_test(badpackage LIBS tavi-viewer-testkey vardo-test-support vardo-update-signing QuaZip::QuaZip)
set_target_properties(tst_badpackage PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/hardening/badpackage)
# It packs a 3 GiB entry of zeros, which takes two minutes on a loaded machine.
set_tests_properties(badpackage PROPERTIES TIMEOUT 900)

# Applies killed at every point; the test runs itself as the updater it kills.
vardo_add_test(interruptedupdate LIBS tavi-viewer-testkey vardo-test-support)
set_target_properties(tst_interruptedupdate PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/hardening/interruptedupdate)
