# tests of the library area
