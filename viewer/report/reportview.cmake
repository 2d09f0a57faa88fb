# The population step that feeds the report view, in viewer-core; the view itself
# and its toolbar images in viewer-ui.
target_sources(viewer-core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/../document/reportpopulation.cpp
)
target_sources(viewer-ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/reportwidget.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reportwidget.h
    ${CMAKE_CURRENT_LIST_DIR}/images/reportimages.qrc
)
