# The project's one version, as a header every target can include (vardoversion.h).
configure_file(${CMAKE_CURRENT_LIST_DIR}/vardoversion.h.in
    ${CMAKE_BINARY_DIR}/generated/vardoversion.h @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)

# Who publishes the product, in the packages and the Windows file properties.
set(VARDO_VENDOR "KORA")
