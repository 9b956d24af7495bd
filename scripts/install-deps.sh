#!/usr/bin/env bash
# Installs what building, running and testing need on a Debian machine.
# Idempotent: a machine that has everything installs nothing.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-win32 libz-mingw-w64-dev
  wine wine64 fonts-wine
  halibut nsis zip
  xvfb x11-utils
  googletest
  bcc bin86 elks-libc
  dosbox dosfstools mtools python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
