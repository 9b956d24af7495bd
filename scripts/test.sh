#!/usr/bin/env bash
# Builds everything (the x86_64 program and tests, and the i686 program), checks that
# the i686 program imports only what Windows 95 exports, builds the release into dist/
# and runs every test under Wine and Xvfb, the setup's among them. The 32-bit program's
# whole-program tests run where Wine can run 32-bit programs and are skipped elsewhere.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ ! -f build-i686/CMakeCache.txt ]; then
  cmake -S . -B build-i686 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake -DQUILLMARK_TESTS=OFF >/dev/null
fi
cmake --build build-i686
bash scripts/dist.sh
cd build
status=0
# The Wine sessions run side by side, a test at a time each, and the DOS tests beside
# them; ctest hands out the sessions.
sessions=$(sed -n 's/^QUILLMARK_TEST_SESSIONS:STRING=//p' CMakeCache.txt)
ctest --output-on-failure -j "$((${sessions:-1} + 1))" || status=$?
# ctest lists a skipped test by name only; its reason is in the log.
grep -h '^SKIPPED:' Testing/Temporary/LastTest.log 2>/dev/null || true
exit $status
