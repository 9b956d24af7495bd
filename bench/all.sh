#!/usr/bin/env bash
# Runs every benchmark in one Wine session and prints one table of their results:
# each case, the program's figure, each peer's, and the ratio, with the machine's core
# count and Wine version. The scripts' own environment variables apply (see each).
#   bash bench/all.sh
set -euo pipefail
. "$(dirname "$0")/common.sh"
cd "$bench_root"
bash scripts/build.sh Quillmark SweepDriver MinimalWindow MinimalProgressWindow StartupProbe RecordRead win95fixture >/dev/null
session=$bench_root/build/bench-all
bash tests/harness/wine-session.sh start "$session" >/dev/null
trap 'bash tests/harness/wine-session.sh stop "$session"' EXIT
export BENCH_WINE_ENV=$session/env
QUILLMARK_WINE_ENV=$BENCH_WINE_ENV hold_desktop
export BENCH_TABLE=$bench_root/build/bench-all/table.tsv
export QUILLMARK_BIN=${QUILLMARK_BIN:-build/bin}
: >"$BENCH_TABLE"
for script in startup backup sweep-bench record; do
  echo "== bench/$script.sh"
  bash "bench/$script.sh"
done
echo
print_table <"$BENCH_TABLE"
