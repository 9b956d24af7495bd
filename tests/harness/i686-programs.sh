#!/usr/bin/env bash
# Runs the tests that drive the real program against the 32-bit (i686) build, where
# this machine's Wine can run 32-bit Windows programs; elsewhere says so and skips.
#   i686-programs.sh BIN_DIR I686_BIN_DIR
# Exit 77 is ctest's "skipped".
set -euo pipefail
bin=${1:?x86_64 bin folder}
bin32=${2:?i686 bin folder}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck disable=SC1090
. "${QUILLMARK_WINE_ENV:?}"

skip() {
  echo "SKIPPED: the 32-bit program's whole-program tests did not run: $*"
  exit 77
}
[ -f "$bin32/Quillmark.exe" ] || skip "no 32-bit build in $bin32 (scripts/test.sh builds it)"

# A 32-bit Windows program that returns a code of its own tells whether this Wine runs
# them: it needs its 32-bit half, and that needs a kernel that runs 32-bit programs.
# Wine without that half says it cannot start the program and still exits 0, so only
# the probe's own code counts as an answer.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf 'int main(void) { return 42; }\n' >"$probe/probe.c"
i686-w64-mingw32-gcc-win32 -o "$probe/probe32.exe" "$probe/probe.c"
rc=0
timeout 60 wine "$probe/probe32.exe" >"$probe/log" 2>&1 </dev/null || rc=$?
if [ "$rc" -ne 42 ]; then
  skip "this machine cannot run 32-bit Windows programs under Wine (the probe answered $rc, not 42: $(grep -m1 -v '^$' "$probe/log" || echo 'no output'))"
fi

export QUILLMARK_PROGRAM_DIR
QUILLMARK_PROGRAM_DIR=$(winepath -w "$bin32")
status=0
for run in "app_tests ProgramTest.*" "backup_tests BackupRunTest.*:RestoreRunTest.*" \
           "cleanup_tests CleanupProgramTest.*" "rescue_tests RescueProgramTest.*" \
           "help_tests HelpTest.InhaltOpensTheViewerOnTheContents"; do
  set -- $run
  echo "== 32-bit program: $1 $2"
  bash "$here/wine-run.sh" "$bin/$1.exe" --gtest_brief=1 "--gtest_filter=$2" || status=1
done
exit $status
