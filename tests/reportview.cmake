# tests of the report view, its templates and its population step
vardo_add_test(reporttemplates LIBS viewer-ui reportengine Qt5::Xml)
