# tests of the report area
