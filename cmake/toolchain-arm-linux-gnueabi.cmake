# Cross-build for 32-bit ARM Linux with soft float: the handheld's build.
#
#   cmake -S . -B build/arm -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-arm-linux-gnueabi.cmake \
#         -DRAMPARTICA_ARM_DEPS=build/arm-deps/prefix
#
# By default it uses Debian's cross compiler (g++-arm-linux-gnueabi, ARMv5TE,
# soft float) and links statically, so a binary needs nothing on the device
# but a Linux kernel. A handheld SDK's own toolchain plugs in through the
# cache variables below: its compiler prefix, its sysroot (SDL is then taken
# from the sysroot's pkg-config files) and its CPU flags.
#
# Programs built here run on the build machine under qemu-arm: the tests
# (through ctest) and the art tool that draws the pictures during the build.

set(RAMPARTICA_ARM_PREFIX "arm-linux-gnueabi-" CACHE STRING "Cross compiler prefix, e.g. /opt/sdk/bin/arm-linux-")
set(RAMPARTICA_ARM_SYSROOT "" CACHE PATH "Sysroot of the target's libraries and headers (empty: the compiler's own)")
set(RAMPARTICA_ARM_FLAGS "-march=armv5te -mfloat-abi=soft" CACHE STRING "CPU flags for compiling and linking")
set(RAMPARTICA_ARM_DEPS "" CACHE PATH "Install prefix of SDL 1.2 and GoogleTest built for ARM (tools/arm/build_deps.sh)")
set(RAMPARTICA_ARM_EMULATOR "qemu-arm;-cpu;arm926" CACHE STRING "Runs ARM programs on the build machine")
# try_compile projects read this file again and need the same choices.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES
  RAMPARTICA_ARM_PREFIX RAMPARTICA_ARM_SYSROOT RAMPARTICA_ARM_FLAGS RAMPARTICA_ARM_DEPS RAMPARTICA_ARM_EMULATOR)

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_C_COMPILER ${RAMPARTICA_ARM_PREFIX}gcc)
set(CMAKE_CXX_COMPILER ${RAMPARTICA_ARM_PREFIX}g++)
set(CMAKE_C_FLAGS_INIT "${RAMPARTICA_ARM_FLAGS}")
# -Wno-psabi: GCC notes every vector iterator of doubles passed by value
# because GCC 7.1 changed how ARM passes it; everything here comes from one
# compiler, so the old convention never meets the new one.
set(CMAKE_CXX_FLAGS_INIT "${RAMPARTICA_ARM_FLAGS} -Wno-psabi")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${RAMPARTICA_ARM_FLAGS} -static")
set(CMAKE_CROSSCOMPILING_EMULATOR ${RAMPARTICA_ARM_EMULATOR})

# The console backend is the one a handheld runs.
set(RAMPARTICA_PLATFORM gp2x CACHE STRING "Platform backend in src/platform/: desktop or gp2x")

# Libraries and packages come from the target's places only, never the build
# machine's; programs (pkg-config, the emulator) from the build machine.
if(RAMPARTICA_ARM_SYSROOT)
  set(CMAKE_SYSROOT ${RAMPARTICA_ARM_SYSROOT})
endif()
set(CMAKE_FIND_ROOT_PATH ${RAMPARTICA_ARM_DEPS} ${RAMPARTICA_ARM_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must not fall back to the build machine's x86 SDL.
if(RAMPARTICA_ARM_SYSROOT)
  set(ENV{PKG_CONFIG_SYSROOT_DIR} ${RAMPARTICA_ARM_SYSROOT})
  set(ENV{PKG_CONFIG_LIBDIR} "${RAMPARTICA_ARM_SYSROOT}/usr/lib/pkgconfig:${RAMPARTICA_ARM_SYSROOT}/usr/share/pkgconfig")
elseif(RAMPARTICA_ARM_DEPS)
  set(ENV{PKG_CONFIG_LIBDIR} "${RAMPARTICA_ARM_DEPS}/lib/pkgconfig")
else()
  set(ENV{PKG_CONFIG_LIBDIR} "")
endif()
