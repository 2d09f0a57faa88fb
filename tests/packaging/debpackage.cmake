# Builds the Debian package from the build tree, unpacks it into an empty root as
# dpkg would install it, and opens the sample document with the unpacked vardotool.
# Run by CTest: cmake -DCPACK=... -DBUILD_DIR=... -DSAMPLE=... -DVERSION=... -DWORK=...
# -P debpackage.cmake

function(run_checked)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT code EQUAL 0)
        message(FATAL_ERROR "${ARGN} failed (${code}):\n${out}\n${err}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

# Fails unless `text` holds `part`.
function(expect_in text part what)
    string(FIND "${text}" "${part}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${what} lacks \"${part}\":\n${text}")
    endif()
endfunction()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/root")
run_checked(${CPACK} -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK}/out")
file(GLOB debs "${WORK}/out/*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one package in ${WORK}/out, found: ${debs}")
endif()

# What it holds, and that nothing points outside the package.
run_checked(dpkg-deb -c ${debs})
set(listing "${out}")
foreach(entry
        ./usr/lib/vardo-viewer/run
        ./usr/lib/vardo-viewer/VardoViewer
        ./usr/lib/vardo-viewer/vardotool
        ./usr/lib/vardo-viewer/libtavi-viewer.so
        ./usr/lib/vardo-viewer/documents/
        ./usr/lib/vardo-viewer/config/
        "./usr/bin/vardo-viewer -> ../lib/vardo-viewer/run"
        "./usr/bin/vardotool -> ../lib/vardo-viewer/vardotool"
        ./usr/share/applications/vardo-viewer.desktop
        ./usr/share/mime/packages/vardo-viewer.xml
        ./usr/share/icons/hicolor/scalable/apps/vardo-viewer.svg
        ./usr/share/icons/hicolor/scalable/mimetypes/application-x-vardo.svg)
    expect_in("${listing}" "${entry}" "the package")
endforeach()

run_checked(dpkg-deb -f ${debs} Package Version Depends)
set(control "${out}")
foreach(field "Package: vardo-viewer" "Version: ${VERSION}" "libqt5core5a" "libquazip1-qt5"
              "qml-module-qtquick-dialogs")
    expect_in("${control}" "${field}" "the control fields")
endforeach()

run_checked(dpkg-deb -x ${debs} "${WORK}/root")
set(root "${WORK}/root")

# The desktop entry names the command and the icons, never a path of this machine.
file(READ "${root}/usr/share/applications/vardo-viewer.desktop" desktop)
foreach(line "\nExec=vardo-viewer %f\n" "\nIcon=vardo-viewer\n" "\nMimeType=application/x-vardo;\n")
    expect_in("${desktop}" "${line}" "the desktop entry")
endforeach()
if(desktop MATCHES "\n(Exec|TryExec|Icon|Path)=[^\n]*/")
    message(FATAL_ERROR "a path in the desktop entry:\n${desktop}")
endif()
file(READ "${root}/usr/share/mime/packages/vardo-viewer.xml" mime)
expect_in("${mime}" "<glob pattern=\"*.vardo\"/>" "the MIME type")
expect_in("${mime}" "<icon name=\"application-x-vardo\"/>" "the MIME type")

# The unpacked tool, through the link on the search path, finds its library beside
# itself and opens the sample.
run_checked("${root}/usr/bin/vardotool" open -p sampel2024 --list "${SAMPLE}")
foreach(set individual-basic.json corporate-basic.json individual-empty.json)
    expect_in("${out}" "${set}" "the unpacked vardotool's listing")
endforeach()
run_checked(ldd "${root}/usr/lib/vardo-viewer/vardotool")
expect_in("${out}" "libtavi-viewer.so => ${root}/usr/lib/vardo-viewer/libtavi-viewer.so"
    "the libraries vardotool loads")
message(STATUS "${debs}: ${listing}")
