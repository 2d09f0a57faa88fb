# The report view: its toolbar images in viewer-ui.
target_sources(viewer-ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/images/reportimages.qrc
)
