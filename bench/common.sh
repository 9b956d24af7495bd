# Shared by the benchmark scripts (sourced, not run): the Wine session, timing, and the
# result table.
#
# A script measures the program and its peers in one Wine session: its own, started
# and ended by the script, or the one bench/all.sh started for every script
# (BENCH_WINE_ENV names its env file). Each result is one row of
#   case, unit, Quillmark, peer, peer's figure, ratio Quillmark/peer
# appended to BENCH_TABLE (all.sh collects them into one table) and printed at the end.

bench_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Keeps the desktop of the session QUILLMARK_WINE_ENV names running until the session
# ends (bench/DesktopHolder.cpp says why).
hold_desktop() {
  bash "$bench_root/scripts/build.sh" DesktopHolder >/dev/null
  bash "$bench_root/tests/harness/wine-run.sh" "$bench_root/build/bin/DesktopHolder.exe" >/dev/null 2>&1 </dev/null &
}

# Starts the session named NAME under build/ unless all.sh handed one over; sets
# QUILLMARK_WINE_ENV and bench_prefix.
bench_session() {
  if [ -n "${BENCH_WINE_ENV:-}" ]; then
    export QUILLMARK_WINE_ENV=$BENCH_WINE_ENV
  else
    local dir=$bench_root/build/bench-$1
    bash "$bench_root/tests/harness/wine-session.sh" start "$dir" >/dev/null
    # shellcheck disable=SC2064
    trap "bash '$bench_root/tests/harness/wine-session.sh' stop '$dir'" EXIT
    export QUILLMARK_WINE_ENV=$dir/env
    hold_desktop
  fi
  bench_prefix=$(bash -c '. "$1"; echo "$WINEPREFIX"' _ "$QUILLMARK_WINE_ENV")
}

# Runs a Windows program in the session; its own output is kept, Wine's chatter is not.
wrun() { bash "$bench_root/tests/harness/wine-run.sh" "$@" 2>/dev/null </dev/null | tr -d '\r'; }
winpath() { wrun winepath -w "$1"; }

now() { date +%s.%N; }
# calc EXPRESSION: evaluates with bc, printed with three decimals.
calc() { printf '%.3f\n' "$(echo "$1" | bc -l)"; }
# The smallest of the numbers on standard input: the run least disturbed by the machine.
best() { sort -g | head -1; }

# row CASE UNIT QUILLMARK PEER PEER_FIGURE
bench_rows=()
row() {
  local ratio
  ratio=$(calc "$3 / $5")
  bench_rows+=("$1	$2	$3	$4	$5	$ratio")
  if [ -n "${BENCH_TABLE:-}" ]; then printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "$4" "$5" "$ratio" >>"$BENCH_TABLE"; fi
}

# Prints rows (TSV on standard input) as the table, with the machine it was taken on.
print_table() {
  echo "machine: $(nproc) cores, $(wine --version 2>/dev/null)"
  { printf 'case\tunit\tQuillmark\tpeer\tpeer\tratio\n'; cat; } | column -t -s '	'
}

# Prints this script's rows unless all.sh prints them with everyone's.
bench_report() {
  [ -n "${BENCH_TABLE:-}" ] && return 0
  echo
  printf '%s\n' "${bench_rows[@]}" | print_table
}
