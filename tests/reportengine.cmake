# tests of the reportengine area
