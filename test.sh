#!/usr/bin/env bash
# Builds and runs every test in three stages:
#   main  optimised build in build/
#   asan  AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/, then the libFuzzer
#         targets built with clang in build-fuzz/ and run 30 s each (tests/fuzz/run.sh)
#   tsan  ThreadSanitizer build in build-tsan/
# ./test.sh runs all three; ./test.sh STAGE [STAGE...] runs the ones named.
set -euo pipefail
cd "$(dirname "$0")"
stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=(main asan tsan)
for stage in "${stages[@]}"; do
  case "$stage" in main|asan|tsan) ;; *) echo "usage: ./test.sh [main] [asan] [tsan]" >&2; exit 2 ;; esac
done

tools/install-deps.sh
jobs="$(nproc)"

run_stage() {
  local folder="$1" sanitizer="$2" type="$3"
  local started=$SECONDS
  cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DOMBRIX_SANITIZER="$sanitizer" -DOMBRIX_X11_THREAD_CHECK=ON \
    -DOMBRIX_BUILD_BENCH="$([ -z "$sanitizer" ] && echo ON || echo OFF)"
  cmake --build "$folder" -j "$jobs"
  ctest --test-dir "$folder" --output-on-failure -j "$jobs"
  echo "stage $folder took $((SECONDS - started)) s"
}

fuzz_stage() {
  local started=$SECONDS
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DOMBRIX_FUZZ=ON -DOMBRIX_X11_THREAD_CHECK=ON \
    -DOMBRIX_BUILD_BENCH=OFF
  cmake --build build-fuzz -j "$jobs" --target ombrix_fuzz
  FUZZ_BUILD=build-fuzz tests/fuzz/run.sh 30
  echo "stage build-fuzz took $((SECONDS - started)) s"
}

for stage in "${stages[@]}"; do
  case "$stage" in
    main) run_stage build "" Release ;;
    asan) ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1" \
            run_stage build-asan address RelWithDebInfo
          fuzz_stage ;;
    tsan) TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" run_stage build-tsan thread RelWithDebInfo ;;
  esac
done
