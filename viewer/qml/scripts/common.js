.pragma library

// The last component of a path or file URL, whichever separator the platform's
// file dialog used.
function getFilename(path) {
    var text = String(path)
    var cut = Math.max(text.lastIndexOf("/"), text.lastIndexOf("\\"))
    return text.substring(cut + 1)
}

// A file URL for a path as the recent-files store keeps it: "file:///" in front
// of a drive path, and "file://" in front of a path that already starts at the root.
function fileUrl(path) {
    var text = String(path)
    return (text.charAt(0) === "/" ? "file://" : "file:///") + text
}
