# tests of the viewer area
