#!/usr/bin/env bash
# Reading a backup record before a restore's first copy, beside the platform's profile
# calls, in one Wine session:
#   - a record of 100,000 entries read by the program's reader (every section once,
#     whole, every entry checked) beside GetPrivateProfileSectionA of the same four
#     sections;
#   - a record of 2,000 entries beside the key-by-key reading restores used before
#     (three GetPrivateProfileStringA per entry, each a scan of the file: its cost grows
#     with the square of the record's length, so it is measured on a short record).
#   bash bench/record.sh
# Environment: RECORD_ENTRIES the long record's entries (default 100000);
# RECORD_KEYS_ENTRIES the short record's (default 2000); BENCH_RUNS runs of each
# measurement, the best counts (default 1).
set -euo pipefail
. "$(dirname "$0")/common.sh"
cd "$bench_root"
bash scripts/build.sh RecordRead >/dev/null
exe=$bench_root/build/bin/RecordRead.exe
big=${RECORD_ENTRIES:-100000}
small=${RECORD_KEYS_ENTRIES:-2000}
runs=${BENCH_RUNS:-1}

bench_session record
mkdir -p "$bench_prefix/drive_c/bench"
# measure HOW N: the best of the runs, in ms.
measure() {
  for ((r = 0; r < runs; r++)); do wrun "$exe" "C:\\bench\\record-$2.log" "$2" "$1"; done | best
}
row "read a record of $big entries" ms "$(measure ours "$big")" "GetPrivateProfileSectionA" "$(measure sections "$big")"
row "read a record of $small entries" ms "$(measure ours "$small")" "key by key (before)" "$(measure keys "$small")"
rm -f "$bench_prefix"/drive_c/bench/record-*.log
bench_report
