#!/usr/bin/env bash
# Builds the release: dist/Quillmark/ with the 32-bit (i686) and 64-bit (x86_64)
# program folders, LIESMICH.TXT and the two setups, and dist/Quillmark.zip of it all.
# The 32-bit program must pass the Windows 95 import check first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh Quillmark Kelvrane
if [ ! -f build-i686/CMakeCache.txt ]; then
  cmake -S . -B build-i686 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake -DQUILLMARK_TESTS=OFF >/dev/null
fi
cmake --build build-i686 --target Quillmark
bash scripts/check-imports.sh build-i686/bin/Quillmark.exe

out=dist/Quillmark
rm -rf dist
mkdir -p "$out/Win32" "$out/Win64"
# The read-me in the system's own code page and line ends.
iconv -f UTF-8 -t WINDOWS-1252 release/LIESMICH.TXT | sed 's/$/\r/' >"$out/LIESMICH.TXT"
for arch in Win32:build-i686 Win64:build; do
  dir=$out/${arch%%:*}
  bin=${arch#*:}/bin
  cp "$bin/Quillmark.exe" "$bin/s.dll" "$bin/Pelmora.hlp" "$bin/Pelmora.cnt" "$dir/"
  # The rescue floppy's DOS program is the same for both.
  cp build/bin/Kelvrane.exe "$dir/"
  cp "$out/LIESMICH.TXT" "$dir/"
done
makensis -V2 -DARCH=x86 -DSRC="$PWD/$out/Win32" -DOUT="$PWD/$out/Setup32.exe" release/Quillmark.nsi
makensis -V2 -DARCH=x64 -DSRC="$PWD/$out/Win64" -DOUT="$PWD/$out/Setup64.exe" release/Quillmark.nsi
# A fixed time stamp on every entry keeps the zip the same for the same files.
find "$out" -exec touch -d '2000-01-01 00:00:00' {} +
(cd dist && zip -q -X -r Quillmark.zip Quillmark)

echo "Release in dist/:"
(cd dist && find Quillmark Quillmark.zip -type f -printf '%10s  %p\n' | sort -k2)
