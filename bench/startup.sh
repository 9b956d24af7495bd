#!/usr/bin/env bash
# Start-up time of Quillmark beside a minimal Win32 window program built the same way,
# and beside that window with a progress bar, measured in turn in one Wine session, and
# the size of the program file.
#   bash bench/startup.sh
# Environment: RUNS starts of each program, the median counts (default 15).
set -euo pipefail
. "$(dirname "$0")/common.sh"
cd "$bench_root"
bash scripts/build.sh Quillmark MinimalWindow MinimalProgressWindow StartupProbe win95fixture >/dev/null
bench_session startup
wrun build/bin/win95fixture.exe --settings >/dev/null
# The second yardstick is the same window with a progress bar: under Wine the common
# controls' library costs a bare window a good part of its start by itself, and the
# program's first frame shows its progress bar.
line=$(wrun build/bin/StartupProbe.exe "$(winpath build/bin/Quillmark.exe)" "$(winpath build/bin/MinimalWindow.exe)" \
  "${RUNS:-15}" "$(winpath build/bin/MinimalProgressWindow.exe)")
echo "$line"
quillmark_ms=$(sed -n 's/.*Quillmark \([0-9.]*\) ms.*/\1/p' <<<"$line")
minimal_ms=$(sed -n 's/.*minimal window \([0-9.]*\) ms.*/\1/p' <<<"$line")
progress_ms=$(sed -n 's/.*with a progress bar \([0-9.]*\) ms.*/\1/p' <<<"$line")
size=$(stat -c %s build/bin/Quillmark.exe)
echo "Quillmark.exe: $size bytes ($(calc "$size / 1048576") MB, statically linked)"
row "start-up to window shown" ms "$quillmark_ms" "minimal window" "$minimal_ms"
row "start-up to window shown" ms "$quillmark_ms" "minimal window with a progress bar" "$progress_ms"
bench_report
