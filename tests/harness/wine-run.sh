#!/usr/bin/env bash
# Runs a Windows program inside the session that wine-session.sh started.
# Its output goes through a file: a program it starts (the help viewer, say) would
# otherwise inherit the pipe to ctest and keep ctest waiting for as long as it runs.
set -euo pipefail
env_file=${QUILLMARK_WINE_ENV:?QUILLMARK_WINE_ENV names the session env file}
# shellcheck disable=SC1090
. "$env_file"
# In the session's folder, not the machine's temporary folder, where a clean-up of
# someone else's can take it away while the program runs.
out=$(mktemp "$(dirname "$env_file")/output.XXXXXX")
trap 'rm -f "$out"' EXIT
rc=0
wine "$@" >"$out" 2>&1 </dev/null || rc=$?
# Once in a few hundred starts under load, Wine ends a test program with an error
# before the program has printed its first line; the run is then not a result of the
# program's. It is said, and started once more; a program that fails before its first
# line by itself fails again.
case " $* " in
*" --gtest_"*)
  if [ "$rc" -ne 0 ] && ! grep -q '^Running main()' "$out"; then
    echo "wine-run: Wine ended $1 with $rc before its first line; starting it again" >&2
    rc=0
    wine "$@" >"$out" 2>&1 </dev/null || rc=$?
  fi
  ;;
esac
cat "$out"
# Wine that cannot start a program may still exit 0; a test program that ran has
# printed GoogleTest's summary, so its absence is a failure, not a pass.
case " $* " in
*" --gtest_"*)
  if [ "$rc" -eq 0 ] && ! grep -q '^\[==========\]' "$out"; then
    echo "wine-run: $1 printed no test summary: Wine did not run it" >&2
    rc=1
  fi
  ;;
esac
exit $rc
