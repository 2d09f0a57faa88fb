# tests of the viewer area
vardo_add_test(tabbutton LIBS viewer-ui)
vardo_add_test(recentfilesstore LIBS viewer-ui)
vardo_add_test(qmlscreens LIBS viewer-ui)
