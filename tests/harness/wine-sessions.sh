#!/usr/bin/env bash
# Starts or stops the test run's Wine sessions (wine-session.sh). The first boot of a
# prefix is most of a session's start: one seed prefix is booted and set up, and the
# sessions start side by side from copies of it.
#   wine-sessions.sh start|stop POOL COUNT
set -uo pipefail
cmd=${1:?start or stop}
pool=${2:?session pool folder}
count=${3:?session count}
here=$(dirname "$0")
session() { bash "$here/wine-session.sh" "$@"; }
if [ "$cmd" = start ]; then
  # The seed's server has ended, its registry written out whole, before it is set up.
  session start "$pool/seed" --seed && session stop "$pool/seed" || exit 1
fi
pids=()
for ((i = 1; i <= count; i++)); do
  if [ "$cmd" = start ]; then
    session start "$pool/$i" "--from=$pool/seed" &
  else
    session stop "$pool/$i" &
  fi
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
rm -rf "$pool/seed"
exit $status
