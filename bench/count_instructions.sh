#!/usr/bin/env bash
# Counts the instructions that one game tick (Sim::step) and one heavy frame
# (the step, Sim::render and the message box's step and render) execute in
# the heavy late-game state of bench/frame_cost.cpp, at 30 turrets x 60
# monsters and at 60 x 120.
#
#   bench/count_instructions.sh [arm] [x86]     (default: arm)
#
# arm: the console build, statically linked for ARMv5TE soft float, under
#      qemu-arm -cpu arm926 with an instruction-counting plugin (bench/insn_count.c,
#      built against qemu-plugin.h from Debian's qemu sources, fetched once).
# x86: the desktop build of this machine under callgrind (its Ir count).
#
# Each figure is the difference of two runs that differ only in the number of
# repeats, divided by that difference, so start-up, loading and set-up cancel
# out. Prints one line per figure, e.g. "arm.step.30x60 2195619", then the
# frame budget; notes go to standard error. A benchmark: it never fails on a
# figure, only when it cannot count.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=(arm)
states=("30 60" "60 120")
short=5 long=25
# A 200 MHz CPU has 6.6 million cycles in a 33 ms frame; half of them is the
# budget of a heavy frame, the rest goes to memory stalls and the LCD.
budget=3300000
work="$top/build/count"
mkdir -p "$work"

plugin_ready() {
  local header="$work/qemu-plugin.h" plugin="$work/insn_count.so"
  tools/ensure_packages.sh gcc qemu-user dpkg-dev xz-utils >&2
  if [ ! -s "$header" ]; then
    # Only the plugin header is kept from the large source package, taken at
    # the version of the installed qemu-user.
    local version
    version=$(dpkg-query -W -f='${source:Version}' qemu-user)
    rm -rf "$work/qemu-src" && mkdir -p "$work/qemu-src"
    echo "-- qemu-plugin.h from Debian's qemu $version sources" >&2
    (cd "$work/qemu-src" && "$top/tools/arm/apt_source.sh" "$top/build/arm-deps/apt" --download-only "qemu=$version") >&2
    tar -xJOf "$work"/qemu-src/qemu_*.orig.tar.xz --wildcards '*/include/qemu/qemu-plugin.h' > "$header.new"
    mv "$header.new" "$header"
    rm -rf "$work/qemu-src"
  fi
  if [ ! "$plugin" -nt bench/insn_count.c ] || [ ! "$plugin" -nt "$header" ]; then
    cc -shared -fPIC -O2 -Wall -Wextra -I"$work" -o "$plugin" bench/insn_count.c
  fi
}

# run_count <arch> <step|frame> <turrets> <monsters> <repeats>: instructions of one run.
run_count() {
  local arch=$1; shift
  case $arch in
    arm)
      qemu-arm -cpu arm926 -plugin "$work/insn_count.so,out=$work/count.txt" \
        build/arm/bench/rampartica-frame-cost "$@" > /dev/null 2>> "$work/runs.log"
      cat "$work/count.txt" ;;
    x86)
      valgrind --tool=callgrind --callgrind-out-file=/dev/null \
        build/count-x86/bench/rampartica-frame-cost "$@" 2>&1 > /dev/null |
        tee -a "$work/runs.log" | sed -n 's/.*Collected : \([0-9]*\).*/\1/p' ;;
  esac
}

: > "$work/runs.log"
for arch in "${archs[@]}"; do
  case $arch in
    arm)
      tools/arm/build.sh --target rampartica-frame-cost > "$work/build-arm.log" 2>&1 ||
        { cat "$work/build-arm.log" >&2; exit 1; }
      plugin_ready ;;
    x86)
      tools/ensure_packages.sh cmake make g++ pkg-config libsdl1.2-dev valgrind >&2
      { cmake -S . -B build/count-x86 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAMPARTICA_TESTS=OFF &&
        cmake --build build/count-x86 -j2 --target rampartica-frame-cost; } > "$work/build-x86.log" 2>&1 ||
        { cat "$work/build-x86.log" >&2; exit 1; } ;;
    *) echo "usage: $0 [arm] [x86]" >&2; exit 2 ;;
  esac
  for state in "${states[@]}"; do
    read -r turrets monsters <<< "$state"
    for what in step frame; do
      a=$(run_count "$arch" "$what" "$turrets" "$monsters" "$short")
      b=$(run_count "$arch" "$what" "$turrets" "$monsters" "$long")
      [ -n "$a" ] && [ -n "$b" ] || { echo "no count for $arch $what $state (see $work/runs.log)" >&2; exit 1; }
      echo "$arch.$what.${turrets}x$monsters $(( (b - a) / (long - short) ))"
    done
  done
  if [ "$arch" = arm ]; then echo "arm.frame.budget $budget"; fi
done
