#!/usr/bin/env bash
# Starts or stops the test run's Wine sessions (wine-session.sh), all at once.
#   wine-sessions.sh start|stop POOL COUNT
set -uo pipefail
cmd=${1:?start or stop}
pool=${2:?session pool folder}
count=${3:?session count}
here=$(dirname "$0")
pids=()
for ((i = 1; i <= count; i++)); do
  bash "$here/wine-session.sh" "$cmd" "$pool/$i" &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
exit $status
