#!/usr/bin/env bash
# Whole-process time of ombrix-render against SoX's shaped dither on the same 60-second
# stereo 48 kHz float WAV: the median of several runs of each, in milliseconds.
# Usage: bench/render_vs_sox.sh [RUNS]   (needs ./run.sh or a build in build/ first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-7}"
tools/install-deps.sh sox
render=build/ombrix-render
[ -x "$render" ] || { echo "build/ombrix-render is missing: run ./run.sh first" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
sox -n -r 48000 -c 2 -b 32 -e floating-point "$work/in.wav" synth 60 pinknoise synth 60 sine amod 0.3 vol 0.5

median_ms() {
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'
}

ours=$(median_ms "$render" --bits 16 --power 9 "$work/in.wav" "$work/ombrix.wav")
theirs=$(median_ms sox "$work/in.wav" -b 16 "$work/sox.wav" dither -s)
echo "60 s stereo 48 kHz float WAV to 16 bits, median of $runs runs:"
echo "  ombrix-render --bits 16 --power 9   ${ours} ms"
echo "  sox -b 16 dither -s                 ${theirs} ms"
