#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a bounded time each, one after the other,
# starting from its seed corpus in tests/fuzz/corpus/<target>/, and prints the executions of
# each. New inputs go to <build>/fuzz/corpus/<target>/, crashes to <build>/fuzz/crashes/.
#   tests/fuzz/run.sh [SECONDS|long] [TARGET...]
# SECONDS per target (30 by default); "long" runs each for an hour. FUZZ_BUILD names the build
# folder (build-fuzz by default), configured with -DOMBRIX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-30}"
[ "$seconds" = long ] && seconds=3600
case "$seconds" in ''|*[!0-9]*) echo "usage: tests/fuzz/run.sh [SECONDS|long] [TARGET...]" >&2; exit 2 ;; esac
shift $(( $# > 0 ? 1 : 0 ))
build="${FUZZ_BUILD:-build-fuzz}"
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(state_load_fuzz process_events_fuzz param_text_fuzz font_info_fuzz image_decode_fuzz
  display_scale_fuzz)

failed=0
total=0
for target in "${targets[@]}"; do
  program="$build/fuzz/$target"
  [ -x "$program" ] || { echo "fuzz: $program is not built" >&2; exit 1; }
  mkdir -p "$build/fuzz/corpus/$target" "$build/fuzz/crashes"
  log="$build/fuzz/$target.log"
  status=0
  "$program" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz/crashes/$target-" "$build/fuzz/corpus/$target" "tests/fuzz/corpus/$target" \
    >"$log" 2>&1 || status=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  runs="${runs:-0}"
  total=$((total + runs))
  if [ "$status" -ne 0 ]; then
    failed=1
    echo "fuzz: $target FAILED after $runs executions (exit $status); see $log and $build/fuzz/crashes/"
    grep -m 3 -E 'ERROR|fuzz check failed|runtime error' "$log" || true
  else
    echo "fuzz: $target $runs executions in $seconds s"
  fi
done
echo "fuzz: $total executions in all"
exit "$failed"
