#!/usr/bin/env bash
# Builds everything and runs every test. Extra arguments go to CMake's
# configure step, e.g. scripts/test.sh -DKIV_SANITIZE=ON
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
build=${KIV_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=${KIV_BUILD_TYPE:-RelWithDebInfo} "$@"
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2
