.pragma library

// The last component of a path or file URL, whichever separator the platform's
// file dialog used. A URL keeps characters such as "#" escaped, so its name is
// decoded.
function getFilename(path) {
    var text = String(path)
    var cut = Math.max(text.lastIndexOf("/"), text.lastIndexOf("\\"))
    var name = text.substring(cut + 1)
    return text.indexOf("file:") === 0 ? decodeURIComponent(name) : name
}
