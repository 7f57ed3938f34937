#!/usr/bin/env bash
# build_deps.sh <deps-dir>
#
# Builds what the ARM build links and Debian 12 cannot install for armel:
# SDL 1.2 (Debian's own 1.2.15 sources with Debian's patches, fetched with
# apt_source.sh) and GoogleTest (from /usr/src/googletest, as the x86 build
# has it), both static, into <deps-dir>/prefix. A stamp per library records
# how it was built; a second run with the same settings does nothing.
#
# RAMPARTICA_ARM_PREFIX (default arm-linux-gnueabi-) and
# RAMPARTICA_ARM_FLAGS (default: ARMv5TE, soft float) pick the compiler, as
# in cmake/toolchain-arm-linux-gnueabi.cmake.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
deps=$(realpath -m "$1")
prefix="$deps/prefix"
cross=${RAMPARTICA_ARM_PREFIX:-arm-linux-gnueabi-}
flags=${RAMPARTICA_ARM_FLAGS:--march=armv5te -mfloat-abi=soft}
# The game is built with 64-bit file offsets; the libraries it links agree.
cflags="-O2 $flags -D_FILE_OFFSET_BITS=64"
jobs=$(nproc); [ "$jobs" -gt 2 ] && jobs=2
mkdir -p "$deps/src" "$prefix"

# SDL for a handheld: the framebuffer console and the dummy driver (the
# tests' headless screen), joystick and events; no X11, no OpenGL, no audio
# (the game plays none), nothing loaded at run time.
sdl_options=(--host="${cross%-}" --prefix="$prefix" --disable-shared --enable-static
  --enable-video-fbcon --enable-video-dummy --enable-joystick --enable-input-events
  --disable-audio --disable-cdrom --disable-loadso --disable-sdl-dlopen --disable-rpath
  --disable-video-x11 --disable-dga --disable-video-dga --disable-video-opengl
  --disable-video-directfb --disable-video-svga --disable-video-ggi --disable-video-aalib
  --disable-video-caca --disable-video-qtopia --disable-video-ps2gs --disable-video-ps3
  --disable-video-wscons --disable-video-vgl --disable-video-nanox --disable-video-picogui
  --disable-input-tslib --disable-pulseaudio --disable-esd --disable-arts --disable-nas
  --disable-alsa --disable-oss --disable-nasm --disable-pth)
sdl_stamp="$prefix/.sdl-built"
sdl_says="$cross $cflags ${sdl_options[*]}"
if [ "$(cat "$sdl_stamp" 2>/dev/null)" != "$sdl_says" ]; then
  echo "-- SDL 1.2 for ARM: Debian's sources, static, framebuffer and dummy video"
  rm -rf "$deps/src/sdl"
  mkdir -p "$deps/src/sdl"
  (cd "$deps/src/sdl" && "$top/tools/arm/apt_source.sh" "$deps/apt" libsdl1.2 > ../sdl-source.log 2>&1) ||
    { cat "$deps/src/sdl-source.log"; exit 1; }
  src=$(find "$deps/src/sdl" -mindepth 1 -maxdepth 1 -type d -name 'libsdl1.2-*' | head -n 1)
  (cd "$src" && CFLAGS="$cflags" ./configure "${sdl_options[@]}" > ../configure.log 2>&1 &&
     make -j"$jobs" > ../make.log 2>&1 && make install > ../install.log 2>&1) ||
    { tail -n 40 "$deps/src/sdl/"*.log; exit 1; }
  echo "$sdl_says" > "$sdl_stamp"
fi

gtest_stamp="$prefix/.gtest-built"
gtest_version=$(dpkg-query -W -f='${Version}' googletest)
gtest_says="$cross $cflags $gtest_version"
if [ "$(cat "$gtest_stamp" 2>/dev/null)" != "$gtest_says" ]; then
  echo "-- GoogleTest for ARM from /usr/src/googletest"
  rm -rf "$deps/src/gtest"
  (cmake -S /usr/src/googletest -B "$deps/src/gtest" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$cflags" \
     -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-arm-linux-gnueabi.cmake" \
     -DRAMPARTICA_ARM_PREFIX="$cross" -DRAMPARTICA_ARM_FLAGS="$flags" \
     -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF &&
   cmake --build "$deps/src/gtest" -j"$jobs" && cmake --install "$deps/src/gtest") \
    > "$deps/src/gtest.log" 2>&1 || { tail -n 40 "$deps/src/gtest.log"; exit 1; }
  echo "$gtest_says" > "$gtest_stamp"
fi
