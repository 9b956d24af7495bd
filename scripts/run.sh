#!/usr/bin/env bash
# Builds the program and starts it under Wine in the project's own demo prefix
# (build/demo), seeded on first use with a small Windows-95-style installation and
# a floppy folder as drive A:. Arguments are handed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ]; then
  echo "Quillmark is a desktop program and needs a display, but DISPLAY is not set." >&2
  echo "Run it from a graphical session, or under a virtual one: xvfb-run -a bash scripts/run.sh" >&2
  exit 1
fi
bash scripts/build.sh Quillmark Kelvrane win95fixture
demo=build/demo
QUILLMARK_DISPLAY=$DISPLAY bash tests/harness/wine-session.sh start "$demo" --keep
trap 'bash tests/harness/wine-session.sh stop "$demo"' EXIT
export QUILLMARK_WINE_ENV=$PWD/$demo/env
if [ ! -f "$demo/seeded" ]; then
  bash tests/harness/wine-run.sh build/bin/win95fixture.exe --settings
  touch "$demo/seeded"
fi
echo "Drive A: is $PWD/$demo/floppy"
bash tests/harness/wine-run.sh build/bin/Quillmark.exe "$@"
