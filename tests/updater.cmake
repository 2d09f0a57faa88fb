# tests of the updater area
