#!/usr/bin/env bash
# Runs a command in whichever Wine session of the test run is free, and holds that
# session for as long as the command runs: a session runs one test at a time, and the
# sessions run side by side. The command finds its session in QUILLMARK_WINE_ENV.
# What the command starts does not hold the session (flock -o), so a program a test
# leaves behind cannot keep it from the next test.
#   in-session.sh POOL COUNT COMMAND...
set -uo pipefail
pool=${1:?session pool folder}
count=${2:?session count}
shift 2
busy=75
while :; do
  for ((i = 1; i <= count; i++)); do
    QUILLMARK_WINE_ENV=$pool/$i/env flock -n -o -E $busy "$pool/$i/lock" "$@"
    rc=$?
    [ "$rc" -eq $busy ] || exit "$rc"
  done
  sleep 0.05
done
