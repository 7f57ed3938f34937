#!/bin/bash
# This project embedded in another one with add_subdirectory: it configures
# without its tests, install rules or packaging (those are the host's), and
# the host builds and runs a program linked with rampartica-core.
#
# usage: subproject_test.sh <source dir> <scratch dir>
set -eu
SOURCE=$(realpath "$1")
rm -rf "$2"
cmake -S "$SOURCE/tests/install/subproject" -B "$2" -DRAMPARTICA_SOURCE_DIR="$SOURCE" \
    -DCMAKE_BUILD_TYPE=Debug >"$2.configure.log" 2>&1 || { cat "$2.configure.log"; exit 1; }
for own in tests CPackConfig.cmake; do
    if [ -e "$2/rampartica/$own" ] || [ -e "$2/$own" ]; then
        echo "FAIL: the embedded project made its own $own"
        exit 1
    fi
done
cmake --build "$2" --target host -j2
"$2/host" || { echo "FAIL: the host program got wrong answers from the library"; exit 1; }
echo "the host built and ran a program linked with rampartica-core"
