#!/usr/bin/env bash
# build.sh [cmake --build arguments...]
#
# The handheld's build: installs the cross compiler and the emulator when
# missing, builds SDL 1.2 and GoogleTest for ARM once (tools/arm/build_deps.sh,
# kept in build/arm-deps), then configures and builds build/arm with the ARM
# toolchain and the console backend. Without arguments it builds everything
# and the SD-card package build/arm/rampartica-gp2x.zip; arguments go to
# `cmake --build` (e.g. `--target rampartica-frame-cost`). RAMPARTICA_WERROR=ON
# in the environment makes warnings in the game's own code errors.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"

tools/ensure_packages.sh cmake make pkg-config dpkg-dev xz-utils file zip unzip \
  g++-arm-linux-gnueabi qemu-user googletest

jobs=$(nproc); [ "$jobs" -gt 2 ] && jobs=2
mkdir -p build
tools/arm/build_deps.sh build/arm-deps
cmake -S . -B build/arm -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-arm-linux-gnueabi.cmake" \
  -DRAMPARTICA_ARM_DEPS="$top/build/arm-deps/prefix" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DRAMPARTICA_WERROR="${RAMPARTICA_WERROR:-OFF}" \
  > build/arm.configure.log 2>&1 || { cat build/arm.configure.log; exit 1; }
if [ $# -eq 0 ]; then
  cmake --build build/arm -j"$jobs"
  cmake --build build/arm --target gp2x-zip
else
  cmake --build build/arm -j"$jobs" "$@"
fi
