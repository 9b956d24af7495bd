#!/usr/bin/env bash
# Start-up time of Quillmark beside a minimal Win32 window program, measured in turn
# in one Wine session, and the size of the program file.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh Quillmark MinimalWindow StartupProbe win95fixture
session=build/bench-wine
bash tests/harness/wine-session.sh start "$session"
trap 'bash tests/harness/wine-session.sh stop "$session"' EXIT
export QUILLMARK_WINE_ENV=$PWD/$session/env
run() { bash tests/harness/wine-run.sh "$@" 2>/dev/null; }
run build/bin/win95fixture.exe --settings
run build/bin/StartupProbe.exe "$(run winepath -w build/bin/Quillmark.exe | tr -d '\r')" \
  "$(run winepath -w build/bin/MinimalWindow.exe | tr -d '\r')" "${RUNS:-15}"
size=$(stat -c %s build/bin/Quillmark.exe)
echo "Quillmark.exe: $size bytes ($(awk "BEGIN{printf \"%.2f\", $size/1048576}") MB, statically linked)"
