#!/bin/bash
# The Debian package as a player gets it: made by cpack from this build and
# unpacked with dpkg -x into a throwaway folder (nothing is installed on this
# system). Its dependencies, desktop data and icons are checked, then the
# end-to-end test plays it through the unpacked launcher, from another
# folder, under Xvfb.
#
# usage: deb_test.sh <build dir> <scratch dir>
set -u
BUILD=$(realpath "$1")
rm -rf "$2"
mkdir -p "$2"
T=$(realpath "$2")
HERE=$(cd "$(dirname "$0")" && pwd)

fail() {
    echo "FAIL: $*"
    exit 1
}

echo "making the package"
cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$T/cpack" >"$T/cpack.log" 2>&1 ||
    { cat "$T/cpack.log"; fail "cpack could not make the package"; }
debs=("$T"/cpack/*.deb)
[ "${#debs[@]}" = 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb: ${debs[*]}"
deb=${debs[0]}
echo "$(basename "$deb"): Depends: $(dpkg-deb -f "$deb" Depends)"

# Either SDL 1.2 will do: the classic library, or sdl12-compat.
dpkg-deb -f "$deb" Depends | tr ',' '\n' | grep -Eq '^ *libsdl1\.2debian( \([^)]*\))? \| libsdl1\.2-compat$' ||
    fail "the package does not depend on classic SDL 1.2 or sdl12-compat"

dpkg -x "$deb" "$T/root" || fail "dpkg -x could not unpack the package"
appstreamcli validate-tree --no-net "$T/root/usr" >"$T/appstream.log" 2>&1 ||
    { cat "$T/appstream.log"; fail "the desktop entry and metainfo do not belong together"; }

# Every hicolor size holds a PNG that a real decoder reads, at that size,
# with a see-through background.
icons=0
for icon in "$T"/root/usr/share/icons/hicolor/*/apps/rampartica.png; do
    folder=$(basename "$(dirname "$(dirname "$icon")")")
    read -r size corner < <(identify -format '%wx%h %[fx:p{0,0}.a]\n' "$icon" 2>&1)
    [ "$size" = "$folder" ] && [ "$corner" = 0 ] ||
        fail "$icon: $size with corner alpha $corner, not $folder and see-through"
    icons=$((icons + 1))
done
[ "$icons" = 5 ] || fail "$icons icon sizes, not the five from 32 to 256"

# The level checker, from its link in bin/, finds the installed pictures and
# passes the bundled levels without a word.
findings=$(cd / && "$T/root/usr/bin/rampartica-level" check "$T"/root/usr/share/rampartica/levels/* 2>&1) ||
    fail "the installed level checker refuses the bundled levels: $findings"
[ -z "$findings" ] || fail "the installed level checker finds: $findings"

bash "$HERE/../e2e/play_test.sh" --launcher "$T/root/usr/bin/rampartica" "$T/data-home" "$T/e2e"
