#!/usr/bin/env bash
# KELVRANE.EXE as the rescue floppy starts it: under DOSBox, headless, with drive A: a
# floppy folder holding the program and C: a hard disk (a host folder, or a FAT image
# where attributes and short names matter). A case fails when a file ends up with
# other bytes than the backup's, or when anything changes on C: beyond the
# destinations and the safety folder.
#   dos-test.sh BIN_DIR CASE
set -euo pipefail
bin=${1:?bin folder}
case_name=${2:?case}
kelvrane=$bin/Kelvrane.exe
[ -f "$kelvrane" ] || { echo "no $kelvrane" >&2; exit 1; }
command -v dosbox >/dev/null || { echo "dosbox is not installed (scripts/install-deps.sh)" >&2; exit 1; }

work=$(mktemp -d)
trap '[ -n "${DOS_TEST_KEEP:-}" ] || rm -rf "$work"' EXIT
floppy=$work/floppy
c=$work/c
mkdir -p "$floppy" "$c"
cp "$kelvrane" "$floppy/KELVRANE.EXE"
export HOME=$work  # DOSBox keeps its configuration there
# DOSBox raises its own priority, and spins through its splash screen and with cycles
# at max: beside the Wine sessions it took the processor from them. At the lowest
# priority it gets what they leave, and its cases took no longer for it.
printf '[sdl]\npriority=lowest,lowest\n' >"$work/dosbox.conf"

fail() {
  echo "dos-test $case_name: $*" >&2
  [ -f "$floppy/OUT.TXT" ] && iconv -f CP850 -t UTF-8 "$floppy/OUT.TXT" >&2
  exit 1
}

# A record of the backup format; entries are "name|folder|check|dosname|dosdir", where
# check "auto" is the check of the copy in the record's folder and "-" leaves a key out.
write_record() {
  python3 - "$@" <<'PY'
import sys, zlib, os
path, drive, extra, count = sys.argv[1:5]
entries = [e.split('|') for e in sys.argv[5:]]
folder = os.path.dirname(path)
sec = {k: [] for k in ('Files', 'Dirs', 'Checks', 'DosFiles', 'DosDirs')}
for i, (name, d, check, dosname, dosdir) in enumerate(entries):
    if check == 'auto':
        check = '0,00000000'
        for n in (dosname, name):
            if os.path.isfile(os.path.join(folder, n)):
                data = open(os.path.join(folder, n), 'rb').read()
                check = '%d,%08X' % (len(data), zlib.crc32(data))
                break
    for k, v in zip(sec, (name, d, check, dosname, dosdir)):
        if v != '-':
            sec[k].append('%d=%s' % (i, v))
lines = ['[Target]', 'Drive=' + drive] + ([extra] if extra else []) + ['[Files]'] + sec['Files']
if count != '-':
    lines.append('Count=' + count)
for k in ('Dirs', 'Checks', 'DosFiles', 'DosDirs'):
    lines += ['[' + k + ']'] + sec[k]
open(path, 'wb').write(('\r\n'.join(lines) + '\r\n').encode('cp1252'))
PY
}

# Runs KELVRANE with the arguments, answering with the lines of $input; leaves the
# screen in $floppy/OUT.TXT and the exit code in $rc. $disk, when set, is a FAT image
# taken as C: instead of the folder; $free_mb, when set, the room C: reports.
input=
disk=
free_mb=
run_dos() {
  printf '%s' "$input" | sed 's/$/\r/' >"$floppy/IN.TXT"
  {
    printf '@echo off\r\nA:\\KELVRANE.EXE %s < A:\\IN.TXT > A:\\OUT.TXT\r\n' "$*"
    printf 'if errorlevel 3 goto e3\r\nif errorlevel 2 goto e2\r\nif errorlevel 1 goto e1\r\n'
    printf 'echo 0> A:\\RC.TXT\r\ngoto end\r\n:e3\r\necho 3> A:\\RC.TXT\r\ngoto end\r\n'
    printf ':e2\r\necho 2> A:\\RC.TXT\r\ngoto end\r\n:e1\r\necho 1> A:\\RC.TXT\r\n:end\r\n'
  } >"$floppy/RUN.BAT"
  rm -f "$floppy/OUT.TXT" "$floppy/RC.TXT"
  local mount=(-c "mount c $c${free_mb:+ -freesize $free_mb}")
  [ -n "$disk" ] && mount=(-c "imgmount c $disk -t hdd -size 512,63,16,20")
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 120 dosbox -conf "$work/dosbox.conf" -noconsole -exit \
    -c "config -set cpu cycles max" "${mount[@]}" -c "mount a $floppy -t floppy" \
    -c "a:" -c "call RUN.BAT" -c "exit" >"$work/dosbox.log" 2>&1 || fail "DOSBox did not end in time"
  [ -f "$floppy/RC.TXT" ] || fail "KELVRANE did not run"
  rc=$(tr -d ' \r\n' <"$floppy/RC.TXT")
}

screen() { iconv -f CP850 -t UTF-8 "$floppy/OUT.TXT"; }
shows() { screen | grep -qF -- "$1" || fail "the screen lacks: $1"; }
expect_rc() { [ "$rc" = "$1" ] || fail "exit code $rc, expected $1"; }
same() { cmp -s "$1" "$2" || fail "$1 differs from $2"; }

# Every file and folder under C: with its bytes, except the listed paths (relative).
snapshot() {
  (cd "$c" && find . -mindepth 1 | LC_ALL=C sort | while read -r f; do
    skip=
    for x in "$@"; do case "$f" in "./$x" | "./$x"/*) skip=1 ;; esac; done
    [ -n "$skip" ] && continue
    if [ -d "$f" ]; then echo "$f/"; else echo "$f $(md5sum <"$f" | cut -c1-32)"; fi
  done)
}
# The same for the FAT image, path by path as DOS names them.
fat_snapshot() {
  mdir -/ -b -a z: | LC_ALL=C sort | while read -r f; do
    case "$f" in */) echo "$f" ;; *) echo "$f $(mtype "$f" | md5sum | cut -c1-32)" ;; esac
  done
}
unchanged_except() {
  local after
  after=$(snapshot "$@")
  if [ "$before" != "$after" ]; then
    diff <(echo "$before") <(echo "$after") >&2 || true
    fail "C: changed outside the destinations and the safety folder"
  fi
}

# A backup of three files and a folder in C:\SICHER for C:\WINDOWS and C:\DATEN, the
# latter spelled in the record as a Windows folder far longer than DOS paths go.
standard_backup() {
  mkdir -p "$c/WINDOWS" "$c/DATEN" "$c/SICHER/STARTM~1"
  printf 'CREG neu\0\1\2' >"$c/SICHER/USER.DAT"
  printf '[windows]\r\nload=\r\n' >"$c/SICHER/WIN.INI"
  printf 'Termine neu\r\n' >"$c/SICHER/NOTIZEN.TXT"
  printf 'CREG alt' >"$c/WINDOWS/USER.DAT"
  printf '[windows]\r\nload=virus.exe\r\n' >"$c/WINDOWS/WIN.INI"
  write_record "$c/SICHER/ABACKUP.LOG" 'D:\Sicher\' 'Checks=1' 4 \
    'USER.DAT|C:\WINDOWS|auto|USER.DAT|C:\WINDOWS' 'WIN.INI|C:\WINDOWS|auto|WIN.INI|C:\WINDOWS' \
    "NOTIZEN.TXT|C:\\Eigene Dateien\\$(printf 'Ordner Nummer %s ' 1 2 3 4)Ende|auto|NOTIZEN.TXT|C:\\DATEN" \
    'Startmenü|C:\WINDOWS|0,00000000|STARTM~1|C:\WINDOWS'
}

case $case_name in
wine_record)
  # A record and copies made by the program itself, under Wine: the DOS spellings it
  # writes lead KELVRANE to the copies and the folders. Names are 8.3 names, as Wine's
  # and DOSBox's schemes for short names differ.
  # shellcheck disable=SC1090
  . "${QUILLMARK_WINE_ENV:?}"
  wc=$WINEPREFIX/drive_c
  rm -rf "$wc/QMBAK" "$wc/qmdaten" "$wc/qmwin"
  mkdir -p "$wc/QMBAK" "$wc/qmdaten/PROFIL" "$wc/qmwin"
  printf '[windows]\r\nload=\r\n' >"$wc/qmwin/Win.ini"
  printf '[boot]\r\nshell=Explorer.exe\r\n' >"$wc/qmwin/System.ini"
  printf 'Notiz vom M\xe4rz\r\n' >"$wc/qmdaten/NOTIZ.TXT"
  printf 'profil' >"$wc/qmdaten/PROFIL/A.TXT"
  cat >"$work/settings.reg" <<'REG'
REGEDIT4

[-HKEY_CURRENT_USER\Software\ZUNT\Pelmora]

[HKEY_CURRENT_USER\Software\ZUNT\Pelmora]
"MSDOSBootFiles"=dword:00000000
"WindowsRegistry"=dword:00000000
"StartMenu"=dword:00000000
"Desktop"=dword:00000000
"WinIniSystemIni"=dword:00000001
"OtherFiles"=dword:00000001
"SaveInternet"=dword:00000000
"WinDir"="C:\\qmwin\\"
"Target"="C:\\QMBAK\\"

[HKEY_CURRENT_USER\Software\ZUNT\Pelmora\OtherFiles]
"Count"=dword:00000002
"0"="C:\\qmdaten\\NOTIZ.TXT"
"1"="C:\\qmdaten\\PROFIL"
REG
  timeout 120 wine regedit /S "$(winepath -w "$work/settings.reg")" </dev/null >/dev/null 2>&1 || fail "regedit failed"
  timeout 120 wine "$bin/Quillmark.exe" /auto </dev/null >/dev/null 2>&1 || fail "the unattended backup ended with $?"
  timeout 60 wine reg delete 'HKCU\Software\ZUNT\Pelmora' /f </dev/null >/dev/null 2>&1 || true
  record=$wc/QMBAK/ABackUp.log
  [ -f "$record" ] || fail "the backup wrote no record"
  grep -q '^\[DosFiles\]' "$record" && grep -q '^\[DosDirs\]' "$record" || fail "the record has no DOS spellings: $(cat "$record")"
  # C: as the rescue floppy finds it: the backup, the destinations, each changed.
  cp -r "$wc/QMBAK" "$c/QMBAK"
  mkdir -p "$c/qmwin" "$c/qmdaten/PROFIL"
  cp "$wc/qmwin/Win.ini" "$wc/qmwin/System.ini" "$c/qmwin/"
  printf 'kaputt' >>"$c/qmwin/Win.ini"
  printf 'anders' >"$c/qmdaten/NOTIZ.TXT"
  printf 'neu' >"$c/qmdaten/PROFIL/A.TXT"
  before=$(snapshot qmwin qmdaten QMSAFE1)
  run_dos /J
  expect_rc 0
  shows "nur unter Windows wiederherstellbar"
  same "$c/qmwin/Win.ini" "$wc/QMBAK/Win.ini"
  same "$c/qmwin/System.ini" "$wc/QMBAK/System.ini"
  same "$c/qmdaten/NOTIZ.TXT" "$wc/qmdaten/NOTIZ.TXT"
  [ "$(cat "$c/qmdaten/PROFIL/A.TXT")" = neu ] || fail "a folder entry was touched"
  [ "$(cat "$c/QMSAFE1/NOTIZ.TXT")" = anders ] || fail "the safety folder lacks the overwritten file"
  unchanged_except qmwin qmdaten QMSAFE1
  rm -rf "$wc/QMBAK" "$wc/qmdaten" "$wc/qmwin"
  ;;
restore_and_undo)
  # Restored with the user's yes; then the safety record undoes it, through the other
  # safety folder, which in turn keeps what the first restore put there.
  standard_backup
  before=$(snapshot WINDOWS DATEN QMSAFE1 QMSAFE2)
  input=J run_dos
  expect_rc 0
  shows "Wiederherstellen? (J/N)"
  shows "Diskette entfernen und neu starten"
  same "$c/WINDOWS/USER.DAT" "$c/SICHER/USER.DAT"
  same "$c/WINDOWS/WIN.INI" "$c/SICHER/WIN.INI"
  same "$c/DATEN/NOTIZEN.TXT" "$c/SICHER/NOTIZEN.TXT"
  [ "$(cat "$c/QMSAFE1/USER.DAT")" = "CREG alt" ] || fail "QMSAFE1 lacks the old USER.DAT"
  grep -q 'Checks=1' "$c/QMSAFE1/ABACKUP.LOG" || fail "the safety record carries no checks"
  unchanged_except WINDOWS DATEN QMSAFE1
  input= run_dos /J 'C:\QMSAFE1'
  expect_rc 0
  [ "$(cat "$c/WINDOWS/USER.DAT")" = "CREG alt" ] || fail "undo did not bring USER.DAT back"
  grep -q 'load=virus.exe' "$c/WINDOWS/WIN.INI" || fail "undo did not bring WIN.INI back"
  same "$c/QMSAFE2/USER.DAT" "$c/SICHER/USER.DAT"
  # A new file has no earlier state to keep; the undo leaves it.
  same "$c/DATEN/NOTIZEN.TXT" "$c/SICHER/NOTIZEN.TXT"
  unchanged_except WINDOWS DATEN QMSAFE1 QMSAFE2
  # Restored once more: the older safety folder is emptied, only it, and filled anew.
  mkdir -p "$c/QMSAFE1/ALT"
  printf 'alt' >"$c/QMSAFE1/ALT/REST.TXT"
  touch -d '2003-01-01 00:00:00' "$c/QMSAFE1/ABACKUP.LOG"
  before=$(snapshot WINDOWS DATEN QMSAFE1)
  run_dos /J
  expect_rc 0
  [ ! -e "$c/QMSAFE1/ALT" ] || fail "the older safety folder was not emptied"
  [ "$(cat "$c/QMSAFE1/USER.DAT")" = "CREG alt" ] || fail "QMSAFE1 lacks the state before the third restore"
  same "$c/WINDOWS/USER.DAT" "$c/SICHER/USER.DAT"
  unchanged_except WINDOWS DATEN QMSAFE1
  ;;
answer_no)
  standard_backup
  before=$(snapshot)
  input=N run_dos
  expect_rc 1
  shows "Nichts wiederhergestellt."
  unchanged_except
  ;;
damaged_copy)
  # A copy changed after the backup checked it is not restored; the others are.
  standard_backup
  printf 'X' >>"$c/SICHER/USER.DAT"
  before=$(snapshot WINDOWS/WIN.INI DATEN QMSAFE1)
  run_dos /J
  expect_rc 2
  shows "Kopie beschädigt"
  [ "$(cat "$c/WINDOWS/USER.DAT")" = "CREG alt" ] || fail "a damaged copy was restored"
  [ ! -e "$c/QMSAFE1/USER.DAT" ] || fail "a file that stays was safety-copied"
  same "$c/WINDOWS/WIN.INI" "$c/SICHER/WIN.INI"
  unchanged_except WINDOWS/WIN.INI DATEN QMSAFE1
  ;;
cut_record)
  # A record with the checks mark whose entries lost their checks, folders or keys:
  # nothing of them is restored unchecked; a record cut before its Count is none.
  standard_backup
  write_record "$c/SICHER/ABACKUP.LOG" 'D:\Sicher\' 'Checks=1' 5 \
    'USER.DAT|C:\WINDOWS|-|USER.DAT|C:\WINDOWS' 'WIN.INI|-|auto|WIN.INI|-' \
    'NOTIZEN.TXT|C:\Daten|auto|NOTIZEN.TXT|C:\DATEN'
  before=$(snapshot DATEN QMSAFE1)
  run_dos /J
  expect_rc 2
  shows "Eintrag 0: beschädigt"
  shows "Eintrag 3: unvollständig"
  shows "Eintrag 4: unvollständig"
  same "$c/DATEN/NOTIZEN.TXT" "$c/SICHER/NOTIZEN.TXT"
  unchanged_except DATEN QMSAFE1
  head -c 60 "$c/SICHER/ABACKUP.LOG" >"$work/cut" && cp "$work/cut" "$c/SICHER/ABACKUP.LOG"
  rm -rf "$c/QMSAFE1"
  before=$(snapshot)
  run_dos /J
  expect_rc 1
  shows "Keine Sicherung gefunden."
  unchanged_except
  # Junk, a line longer than any path, a Count of two thousand million and keys far
  # apart: read in bounded time, and nothing restored from it.
  {
    printf '[Target]\r\nDrive=C:\\SICHER\\\r\n[Files]\r\nCount=0x7FFFFFFF\r\n0=USER.DAT\r\n'
    printf '999999999=WIN.INI\r\n%s\r\n\0\1\2\377junk=\r\n[Dirs]\r\n0=C:\\' "$(head -c 2000 /dev/zero | tr '\0' 'A')"
    head -c 1500 /dev/zero | tr '\0' 'B'
    printf '\r\n999999999=C:\\WINDOWS\r\n[Checks]\r\n999999999=27,00000000\r\n'
  } >"$c/SICHER/ABACKUP.LOG"
  before=$(snapshot QMSAFE1)
  run_dos /J
  expect_rc 2
  shows "weitere Einträge unvollständig"
  unchanged_except QMSAFE1
  ;;
hostile_destination)
  # Entries that point outside any folder they may name: each is refused, the one
  # clean entry is still restored, and nothing else on C: changes.
  standard_backup
  mkdir -p "$c/SAFE"
  printf 'bleibt' >"$c/SAFE/KEEP.TXT"
  printf 'bleibt' >"$c/AUTOEXEC.BAT"
  write_record "$c/SICHER/ABACKUP.LOG" 'D:\Sicher\' 'Checks=1' 11 \
    'WIN.INI|C:\WINDOWS\..|auto|WIN.INI|C:\WINDOWS\..' \
    'WIN.INI|WINDOWS|auto|WIN.INI|WINDOWS' \
    'WIN.INI|\WINDOWS|auto|WIN.INI|\WINDOWS' \
    '..\AUTOEXEC.BAT|C:\WINDOWS|auto|..\AUTOEXEC.BAT|C:\WINDOWS' \
    'WIN.INI|C:\SAFE|auto|CON|C:\SAFE' \
    'WIN.INI|C:\SICHER|auto|WIN.INI|C:\SICHER' \
    'WIN.INI|C:\QMSAFE2|auto|WIN.INI|C:\QMSAFE2' \
    'WIN.INI|D:\SAFE|auto|WIN.INI|C:\SAFE' \
    'WIN.INI|\\server\share|auto|WIN.INI|\\server\share' \
    'WIN.INI|C:\SAFE\*|auto|WIN.INI|C:\SAFE\*' \
    'NOTIZEN.TXT|C:\Daten|auto|NOTIZEN.TXT|C:\DATEN'
  mkdir -p "$c/QMSAFE2"
  before=$(snapshot DATEN QMSAFE1)
  run_dos /J
  expect_rc 2
  shows "Ziel ungültig"
  shows "Ziel im Sicherungsordner"
  same "$c/DATEN/NOTIZEN.TXT" "$c/SICHER/NOTIZEN.TXT"
  unchanged_except DATEN QMSAFE1
  ;;
attributes)
  # On a FAT disk: USER.DAT, read-only, hidden and system, is restored and keeps its
  # attributes; the safety copy and the record land in QMSAFE1 under 8.3 names.
  img=$work/hd.img
  truncate -s 10321920 "$img"
  mkfs.fat -F 16 --offset 63 "$img" >/dev/null
  export MTOOLSRC=$work/mtools.rc
  echo "drive z: file=\"$img\" offset=32256" >"$MTOOLSRC"
  export MTOOLS_NO_VFAT=1
  standard_backup
  mmd z:/WINDOWS z:/DATEN z:/SICHER
  mcopy -s "$c/SICHER/"* z:/SICHER/
  mcopy "$c/WINDOWS/USER.DAT" "$c/WINDOWS/WIN.INI" z:/WINDOWS/
  mattrib +r +h +s z:/WINDOWS/USER.DAT
  before=$(fat_snapshot)
  disk=$img run_dos /J
  expect_rc 0
  mcopy -n z:/WINDOWS/USER.DAT "$work/USER.DAT"
  same "$work/USER.DAT" "$c/SICHER/USER.DAT"
  # DOSBox 0.74 neither sets attributes nor keeps a program from writing a read-only
  # file, so this shows only that the restore found the file and kept its entry.
  [ "$(mattrib z:/WINDOWS/USER.DAT | cut -c1-10 | tr -dc 'SHR')" = SHR ] ||
    fail "USER.DAT lost its attributes: $(mattrib z:/WINDOWS/USER.DAT)"
  mcopy -n z:/QMSAFE1/USER.DAT "$work/OLD.DAT"
  [ "$(cat "$work/OLD.DAT")" = "CREG alt" ] || fail "the safety copy differs"
  mcopy -n z:/QMSAFE1/ABACKUP.LOG "$work/SAFE.LOG"
  grep -q '^0=USER.DAT' "$work/SAFE.LOG" || fail "the safety record lacks USER.DAT"
  # Nothing but the destinations and QMSAFE1 changed on the disk.
  after=$(fat_snapshot)
  diff <(echo "$before" | grep -v -e '^Z:/QMSAFE1/' -e '^Z:/WINDOWS/' -e '^Z:/DATEN/') \
    <(echo "$after" | grep -v -e '^Z:/QMSAFE1/' -e '^Z:/WINDOWS/' -e '^Z:/DATEN/') >&2 ||
    fail "the disk changed outside the destinations and the safety folder"
  ;;
no_room)
  # Too little room on C: for the safety copies: the restore ends before it touches
  # anything, and says why.
  standard_backup
  head -c 1500000 /dev/urandom >"$c/WINDOWS/USER.DAT"
  before=$(snapshot)
  free_mb=1 run_dos /J
  expect_rc 1
  shows "Zu wenig Platz auf C:"
  unchanged_except
  ;;
no_backup)
  # No record on any drive: /J ends at once; asked for a folder, an empty answer ends.
  mkdir -p "$c/WINDOWS"
  before=$(snapshot)
  run_dos /J
  expect_rc 1
  shows "Keine Sicherung gefunden."
  input= run_dos
  expect_rc 1
  shows "Ordner der Sicherung"
  unchanged_except
  ;;
two_backups)
  # Two backups, listed newest first: the user picks the older by its number; /J
  # takes the newest without asking.
  standard_backup
  mkdir -p "$c/ALT"
  printf 'CREG sehr alt' >"$c/ALT/USER.DAT"
  write_record "$c/ALT/ABACKUP.LOG" 'C:\ALT\' 'Checks=1' 1 'USER.DAT|C:\WINDOWS|auto|USER.DAT|C:\WINDOWS'
  touch -d '2001-02-03 04:05:00' "$c/ALT/ABACKUP.LOG"
  touch -d '2002-02-03 04:05:00' "$c/SICHER/ABACKUP.LOG"
  input=$'2\nJ' run_dos
  expect_rc 0
  shows "Welche Sicherung?"
  screen | grep -A1 -F 'C:\SICHER\ABACKUP.LOG' | grep -qF 'C:\ALT\ABACKUP.LOG' ||
    fail "the backups are not listed newest first"
  [ "$(cat "$c/WINDOWS/USER.DAT")" = "CREG sehr alt" ] || fail "the chosen backup was not restored"
  run_dos /J
  expect_rc 0
  same "$c/WINDOWS/USER.DAT" "$c/SICHER/USER.DAT"
  # The second restore kept the first one's result in the other safety folder.
  [ "$(cat "$c/QMSAFE2/USER.DAT")" = "CREG sehr alt" ] || fail "the second restore overwrote the first safety folder"
  ;;
older_record)
  # A record from before the DOS spellings and the checks: 8.3 names are restored as
  # written, long names are skipped with the reason.
  mkdir -p "$c/WINDOWS" "$c/SICHER"
  printf 'neu' >"$c/SICHER/SYSTEM.INI"
  printf 'cache' >"$c/SICHER/SHELLI~1"
  printf 'alt' >"$c/WINDOWS/SYSTEM.INI"
  printf 'win' >"$c/SICHER/WIN.INI"
  write_record "$c/SICHER/ABACKUP.LOG" 'C:\SICHER\' '' 3 \
    'System.ini|C:\WINDOWS|-|-|-' 'ShellIconCache|C:\WINDOWS|-|-|-' 'Win.ini|C:\Programme\Mein Ordner|-|-|-'
  before=$(snapshot WINDOWS QMSAFE1)
  run_dos /J
  expect_rc 2
  shows "langer Name, nur unter Windows wiederherstellbar"
  shows "langer Ordnername, nur unter Windows wiederherstellbar"
  same "$c/WINDOWS/SYSTEM.INI" "$c/SICHER/SYSTEM.INI"
  unchanged_except WINDOWS QMSAFE1
  ;;
*)
  echo "unknown case $case_name" >&2
  exit 2
  ;;
esac
echo "dos-test $case_name: passed"
