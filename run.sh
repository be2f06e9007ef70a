#!/usr/bin/env bash
# Installs what is missing, then builds everything (plug-in, tools, tests, benchmarks) into build/.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
