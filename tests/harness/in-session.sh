#!/usr/bin/env bash
# Runs a command in one Wine session of the test run and holds that session for as
# long as the command runs: a session runs one test at a time, and the sessions run
# side by side. The command finds its session in QUILLMARK_WINE_ENV.
# ctest, which the build gives the sessions as resources, names the session; a run
# without them (the command started by hand) takes the first free one. What the
# command starts does not hold the session (flock -o), so a program a test leaves
# behind cannot keep it from the next test.
#   in-session.sh POOL COUNT COMMAND...
set -uo pipefail
pool=${1:?session pool folder}
count=${2:?session count}
shift 2
given=${CTEST_RESOURCE_GROUP_0_WINE:-}
if [ -n "$given" ]; then
  i=${given#id:}
  i=${i%%,*}
  QUILLMARK_WINE_ENV=$pool/$i/env exec flock -o "$pool/$i/lock" "$@"
fi
busy=75
while :; do
  for ((i = 1; i <= count; i++)); do
    QUILLMARK_WINE_ENV=$pool/$i/env flock -n -o -E $busy "$pool/$i/lock" "$@"
    rc=$?
    [ "$rc" -eq $busy ] || exit "$rc"
  done
  sleep 0.05
done
