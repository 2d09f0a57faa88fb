#!/usr/bin/env bash
# Installs the Debian packages the project needs. Without arguments, only what
# building and running the programs takes (scripts/run-sample.sh); with --test, also
# what the test suite, the sanitizer and fuzzing builds and the benchmarks take
# (scripts/test.sh, scripts/sanitize.sh, scripts/fuzz.sh).
# Safe to run again: apt-get skips what is already installed, and the package
# lists are refreshed only when they are missing or older than a day.
set -euo pipefail

# Compilers, Qt with the QML modules the viewer's screens import, QuaZip, RapidJSON,
# libsodium, and a font for the reports. Qt's SVG module draws the shell's icons, and
# its language tools compile the Indonesian translation of Qt's own texts.
build_packages=(
  build-essential cmake ninja-build pkg-config
  qtbase5-dev qtbase5-dev-tools qtdeclarative5-dev qttools5-dev-tools libqt5svg5-dev
  qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtquick-layouts
  qml-module-qtquick-controls qml-module-qtquick-controls2 qml-module-qtquick-dialogs
  qml-module-qtquick-templates2 qml-module-qtqml-models2 qml-module-qt-labs-folderlistmodel
  qml-module-qt-labs-settings qml-module-qtquick-privatewidgets qml-module-qtquick-extras
  libquazip1-qt5-dev rapidjson-dev zlib1g-dev libsodium-dev
  fonts-dejavu-core
)

# The tests' tools (PDF text, a virtual display, archives, signatures), the
# benchmarks, the fuzzing and sanitizer builds, and what speeds up building again.
test_packages=(
  git ccache
  libqt5opengl5-dev qt5-image-formats-plugins
  libbenchmark-dev libgtest-dev
  poppler-utils mupdf-tools xvfb xauth x11-apps imagemagick openssl unzip zip time minisign
  fonts-dejavu-extra fonts-liberation2
  clang libclang-rt-14-dev llvm
  valgrind
)

packages=("${build_packages[@]}")
case "${1:-}" in
  "") ;;
  --test) packages+=("${test_packages[@]}") ;;
  *) echo "usage: $0 [--test]" >&2; exit 64 ;;
esac

if [ "$(id -u)" -ne 0 ]; then
  sudo=sudo
else
  sudo=
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#packages[@]} packages present"
  exit 0
fi

lists=/var/lib/apt/lists
if [ -z "$(find "$lists" -maxdepth 1 -name '*Packages*' -mtime -1 2>/dev/null | head -n 1)" ]; then
  $sudo apt-get update -q
fi
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
