#!/usr/bin/env bash
# Builds the libraries and the demo program, then runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh build
build=${KIV_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKIV_BUILD_TESTS=OFF -DKIV_BUILD_BENCH=OFF
cmake --build "$build" -j2 --target kiv_demo
"$build/demo/kiv_demo"
