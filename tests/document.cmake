# tests of the document area
