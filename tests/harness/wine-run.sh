#!/usr/bin/env bash
# Runs a Windows program inside the session that wine-session.sh started.
set -euo pipefail
env_file=${QUILLMARK_WINE_ENV:?QUILLMARK_WINE_ENV names the session env file}
# shellcheck disable=SC1090
. "$env_file"
exec wine "$@"
