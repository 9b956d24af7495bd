#!/usr/bin/env bash
# Builds everything (the x86_64 program and tests, and the i686 program) and runs
# every test under Wine and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ ! -f build-i686/CMakeCache.txt ]; then
  cmake -S . -B build-i686 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake -DQUILLMARK_TESTS=OFF >/dev/null
fi
cmake --build build-i686
cd build
ctest --output-on-failure
