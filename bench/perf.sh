#!/usr/bin/env bash
# Prints every performance figure of the game in one run. Frame, tick and
# loader figures are callgrind instruction counts (Ir), which hold on a busy
# machine; the fuzzer's speed is counted against the CPU time it got.
#   usage: bench/perf.sh [build-dir, default build/perf] [fuzz seconds, default 20]
# The fuzzer is built in <build-dir>-fuzz (clang, sanitizers, as ./test does).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
build=${1:-build/perf}
seconds=${2:-20}
jobs=2  # the machine is shared

tools/ensure_packages.sh cmake make g++ pkg-config libsdl1.2-dev valgrind clang libclang-rt-14-dev

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

configure() {  # configure <dir> [cmake args...]
  local dir=$1; shift
  mkdir -p "$dir"
  cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAMPARTICA_TESTS=OFF "$@" \
    > "$dir/perf-configure.log" 2>&1 || { cat "$dir/perf-configure.log"; exit 1; }
}

# --- callgrind: frames, ticks, loading -------------------------------------
configure "$build"
cmake --build "$build" -j"$jobs" --target rampartica-perf > "$work/build.log" 2>&1 ||
  { tail -n 40 "$work/build.log"; exit 1; }
valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$work/cg.out" \
  "$build/bench/rampartica-perf" > /dev/null 2> "$work/valgrind.log" ||
  { tail -n 20 "$work/valgrind.log"; exit 1; }

# Every dump is labelled "<name>/<runs>": its count divided by the runs.
declare -A ir
for dump in "$work"/cg.out.*; do
  label=$(sed -n 's/^desc: Trigger: Client Request: //p' "$dump")
  [ -n "$label" ] || continue
  total=$(sed -n 's/^\(totals\|summary\): *\([0-9]*\).*/\2/p' "$dump" | head -n 1)
  ir[${label%/*}]=$(( (total + ${label#*/} / 2) / ${label#*/} ))
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
floor=${ir[frame.floor]}
echo "frame.floor $floor Ir"
for f in heavy hover; do
  echo "frame.$f ${ir[frame.$f]} Ir ($(ratio "${ir[frame.$f]}" "$floor")x floor)"
done
for size in 15x30 30x60 60x120 120x240; do
  echo "tick.$size ${ir[tick.$size]} Ir"
done
echo "tick growth 60x120 -> 120x240: $(ratio "${ir[tick.120x240]}" "${ir[tick.60x120]}")x"
echo "load.canyon ${ir[load.canyon]} Ir per load"

# --- the loader fuzzer's speed ----------------------------------------------
configure "$build-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DRAMPARTICA_FUZZ=ON
cmake --build "$build-fuzz" -j"$jobs" --target fuzz-level_loader > "$work/build-fuzz.log" 2>&1 ||
  { tail -n 40 "$work/build-fuzz.log"; exit 1; }
mkdir "$work/corpus"
# Counted against the CPU time the fuzzer got, not the wall clock: other
# builds on the machine slow the wall clock down, not the CPU time.
TIMEFORMAT='%U %S'
{ time LSAN_OPTIONS="suppressions=$top/tests/lsan.supp:print_suppressions=0" \
  "$build-fuzz/fuzz/fuzz-level_loader" -dict="$top/fuzz/level.dict" -max_len=8192 -timeout=10 \
  -max_total_time="$seconds" -print_final_stats=1 "$work/corpus" "$top/fuzz/corpus/level_loader" \
  > "$work/fuzz.log" 2>&1 || { tail -n 40 "$work/fuzz.log"; exit 1; } ; } 2> "$work/fuzz.time"
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.log")
cpu=$(awk '{ print $1 + $2 }' "$work/fuzz.time")
echo "fuzz.level_loader $(awk -v n="$runs" -v t="$cpu" 'BEGIN { printf "%d", n / t }') inputs per CPU second" \
  "($runs inputs in ${cpu} s, ASan+UBSan)"

# --- the console: ARM instruction counts, from the console build's counter --
if [ -x bench/count_instructions.sh ]; then
  bench/count_instructions.sh arm
else
  echo "arm: no bench/count_instructions.sh in this tree (the console build's counter), no ARM figures"
fi
