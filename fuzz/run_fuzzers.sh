#!/usr/bin/env bash
# Runs every fuzz target of a build made with -DRAMPARTICA_FUZZ=ON: first the
# known findings in fuzz/regressions/<target>/ (each must run clean), then
# fuzzing from the seeds in fuzz/corpus/<target>/ for a bounded time. Any
# crash, leak, sanitizer report or timeout fails the script; the input that
# caused it is kept in <build>/fuzz/findings/ to become a regression case.
#   usage: fuzz/run_fuzzers.sh <fuzz-build-dir> [seconds per target, default 30]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 <fuzz-build-dir> [seconds]" >&2; exit 2; }
build=$(cd "$1" && pwd)
seconds=${2:-${RAMPARTICA_FUZZ_SECONDS:-30}}
here=$(cd "$(dirname "$0")" && pwd)

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# SDL keeps some allocations until exit; our own leaks still count.
export LSAN_OPTIONS=${LSAN_OPTIONS:-"suppressions=$here/../tests/lsan.supp:print_suppressions=0"}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-"print_stacktrace=1:halt_on_error=1"}

findings=$build/fuzz/findings
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$findings"

status=0
for target in level_loader bmp_check; do
  exe=$build/fuzz/fuzz-$target
  [ -x "$exe" ] || { echo "missing $exe (configure with -DRAMPARTICA_FUZZ=ON and build it)" >&2; exit 2; }
  options=(-timeout=10 -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1)
  [ "$target" = level_loader ] && options+=(-dict="$here/level.dict")

  shopt -s nullglob
  regressions=("$here/regressions/$target"/*)
  shopt -u nullglob
  if [ ${#regressions[@]} -gt 0 ]; then
    echo "== $target: ${#regressions[@]} regression input(s)"
    if ! "$exe" "${options[@]}" "${regressions[@]}" > "$work/$target-replay.log" 2>&1; then
      tail -n 40 "$work/$target-replay.log"
      echo "FAIL: $target fails on a regression input" >&2
      status=1
      continue
    fi
  fi

  echo "== $target: fuzzing for ${seconds}s"
  mkdir -p "$work/$target"
  if ! "$exe" "${options[@]}" -max_total_time="$seconds" -artifact_prefix="$findings/$target-" \
      "$work/$target" "$here/corpus/$target" > "$work/$target.log" 2>&1; then
    tail -n 60 "$work/$target.log"
    echo "FAIL: $target found a problem; the input is in $findings/" >&2
    echo "      fix it, then add the input to fuzz/regressions/$target/" >&2
    status=1
    continue
  fi
  grep -E "DONE|stat::number_of_executed_units|stat::peak_rss_mb" "$work/$target.log" || true
done
exit $status
