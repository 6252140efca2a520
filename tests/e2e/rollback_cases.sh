#!/usr/bin/env bash
# A failed or cancelled installation leaves the machine as it found it: for each case the
# files, folders and registry values the installation could touch are recorded before it,
# the installation program runs under wine and fails (or is cancelled), and the same
# record afterwards must be identical, with the log naming what was rolled back.
# Usage: rollback_cases.sh <setwright-cli> <wine> <wine prefix folder> <platform: 1 32-bit, 2 64-bit>
#        [<mingw g++ of that platform, for a control>] [<wizard_click.exe>]
# With a click helper and an X display (run under xvfb-run), an installation through the
# wizard is cancelled too: the engine waits while the question is open, goes on after No,
# and rolls back after Yes. KEEP=1 keeps the work folder (named first) for a look afterwards.
set -u
cli=$(realpath "$1")
wine=$2
platform=$4
mingw=${5:-}
click=${6:+$(realpath "$6")}
source "$(dirname "$(realpath "$0")")/wine_env.sh"
prepare_prefix "$wine" "$3" || exit 1
[ -n "$click" ] || unset DISPLAY WAYLAND_DISPLAY  # unattended only: no window may be needed
work=$(mktemp -d)
[ -n "${KEEP:-}" ] && echo "work folder: $work"
trap 'wineserver -k >/dev/null 2>&1; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# The registry as the installation program sees it (a 32-bit program's HKLM\Software is
# the 32-bit view).
view=$([ "$platform" = 1 ] && echo /reg:32 || echo /reg:64)
reg() { timeout 60 "$wine" reg "$@" "$view" 2>/dev/null | tr -d '\r'; }

user=$(id -un)
wineserver -p
windows=$WINEPREFIX/drive_c/windows
system=$windows/system32
[ "$platform" = 1 ] && [ -d "$windows/syswow64" ] && system=$windows/syswow64
programs="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
uninstallKey='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
sharedDlls='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'
fontsKey='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
registered='HKCU\Software\Setwright RB Registered'
desktopKey='HKCU\Control Panel\Desktop'
sessionManager='HKLM\System\CurrentControlSet\Control\Session Manager'

# state <file>: what a rollback must leave as it was. Every file and folder under the
# test's folder with its bytes; the test's files in the Windows folders, the Start menu and
# on the desktop; the registry keys the installations write to.
state() {
  {
    (cd "$work/t" && find . -printf '%y %p\n' | sort && find . -type f -exec md5sum {} + | sort -k2)
    find "$windows" "$programs" "$WINEPREFIX/drive_c/users/$user/Desktop" -iname '*setwright*rb*' -printf '%p\n' | sort
    find "$windows" -iname '*setwright*rb*' -type f -exec md5sum {} + | sort -k2
    reg query "$sharedDlls" | grep -i setwright
    reg query "$fontsKey" | grep -i setwright
    reg query "$desktopKey" | grep -iE 'SCRNSAVE|ScreenSaveActive'
    timeout 60 "$wine" reg query "$registered" "$view" >/dev/null 2>&1 && echo "the control's key is there"
    reg query "$sessionManager" /v PendingFileRenameOperations | grep -i setwright
    reg query "$uninstallKey" | grep -i 'setwright'
  } >"$1" 2>/dev/null
}

# run <program> <target folder>: installs unattended; the exit code in $rc, the log in $work/log.txt.
run() {
  local try
  rm -f "$work/log.txt"
  for try in 1 2; do
    timeout 300 "$wine" "$1" /S "/LOG=$(winpath "$work/log.txt")" "/D=$(winpath "$2")" >"$work/wine.txt" 2>&1
    rc=$?
    # The program writes its log first thing: without one, wine did not start it.
    [ -e "$work/log.txt" ] && break
    echo "  note: wine did not start $(basename "$1") (exit $rc); once more"
  done
}

# project <name> <title> <source> [options of new...]: builds $work/<name>.exe.
project() {
  local name=$1 title=$2 source=$3
  shift 3
  "$cli" new "$work/$name.kft" --source "$source" --platform "$platform" --title "$title" "$@" >/dev/null &&
    "$cli" build "$work/$name.kft" -o "$work/$name.exe" --yes >/dev/null || fail "cannot build $name"
}

# rows <program>: the file table, one "name packed-size" line per file, in table order
# (which is the order of the source folder's listing).
rows() {
  "$cli" list "$1" | awk '/^file / { table = 1; next }
    table && NF >= 5 && $1 !~ /^ / { packed = $(NF - 3); gsub(",", "", packed); name = $0; sub(/ +[0-9]+ +[0-9,]+ +[0-9,]+ .*$/, "", name); print name "\t" packed }'
}

# damage <program> <file name> <copy>: the program with one byte flipped in the middle of
# that file's stream (the data section ends the program and holds the streams in table order).
damage() {
  local total at offset size byte
  total=$(awk '$1 == "REC_END" || $2 == "REC_END" { print $(NF - 2) }' <("$cli" list "$1"))
  offset=$(rows "$1" | awk -F'\t' -v want="$2" '$1 == want { print at + int($2 / 2); exit } { at += $2 }')
  size=$(stat -c %s "$1")
  at=$((size - total + offset))
  cp "$1" "$3"
  byte=$(od -An -tu1 -j "$at" -N1 "$3" | tr -d ' ')
  printf "$(printf '\\%03o' $(((byte ^ 0x40) & 255)))" | dd of="$3" bs=1 seek="$at" conv=notrunc 2>/dev/null
}

# Fixtures. P: four files of bytes that do not compress (a flipped byte is data), in two
# folders. E: an earlier product with files of the same names and other bytes, and one more.
mkdir -p "$work/p/sub" "$work/e/sub" "$work/t"
for f in a.bin b.bin sub/c.bin d.bin; do head -c 20000 /dev/urandom >"$work/p/$f"; done
for f in a.bin b.bin sub/c.bin d.bin old.txt; do head -c 3000 /dev/urandom >"$work/e/$f"; done
project P "Setwright RB" "$work/p"
project E "Setwright RB Earlier" "$work/e"
third=$(rows "$work/P.exe" | sed -n 3p | cut -f1)
damage "$work/P.exe" "$third" "$work/P3.exe"
echo "  the third file of the table: $third"

# R: every kind of registration, then a file that fails. The files are installed in the
# order of the source folder's listing, so the file to fail is named until it lists last.
mkdir -p "$work/r"
head -c 4000 /dev/urandom >"$work/r/setwright-rb-shared.dll"
head -c 4000 /dev/urandom >"$work/r/setwright-rb.scr"
echo "a tool" >"$work/r/tool.exe"
rOptions=(--target setwright-rb-shared.dll=2 --option setwright-rb-shared.dll=2:1 --option setwright-rb.scr=4:1
          --icon 'tool.exe=Setwright RB,RB Tool' --shortcut 'tool.exe=Setwright RB Tool')
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
if [ -f "$font" ]; then
  cp "$font" "$work/r/SetwrightRb.ttf"
  rOptions+=(--target SetwrightRb.ttf=3)
fi
if [ -n "$mingw" ]; then
  cat >"$work/control.cpp" <<'CONTROL'
#include <windows.h>
static const wchar_t kKey[] = L"Software\\Setwright RB Registered";
extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer()
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr)) return E_FAIL;
    RegCloseKey(key);
    return S_OK;
}
extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer()
{
    return RegDeleteKeyW(HKEY_CURRENT_USER, kKey) ? E_FAIL : S_OK;
}
CONTROL
  "$mingw" -shared -static -s -Wl,--kill-at -o "$work/r/setwright-rb-control.ocx" "$work/control.cpp" || fail "the test control does not build"
  rOptions+=(--option setwright-rb-control.ocx=4:2)
  # A program that holds a file open, so that it is in use and replaced at the next start.
  cat >"$work/hold.cpp" <<'HOLD'
#include <windows.h>
int wmain(int argc, wchar_t** argv)
{
    HANDLE file = argc == 2 ? CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr) : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) return 1;
    Sleep(30000);
    return 0;
}
HOLD
  "$mingw" -municode -static -s -o "$work/hold.exe" "$work/hold.cpp" || fail "the holding program does not build"
  echo "the new one" >"$work/r/setwright-rb-held.txt"
fi
for n in $(seq 1 40); do
  last=zz-last-$n.bin
  head -c 20000 /dev/urandom >"$work/r/$last"
  [ "$(ls -f "$work/r" | grep -v '^\.\.\?$' | tail -1)" = "$last" ] && break
  rm "$work/r/$last"
done
project R "Setwright RB Registrations" "$work/r" "${rOptions[@]}"
[ "$(rows "$work/R.exe" | tail -1 | cut -f1)" = "$last" ] || fail "no file of R lists after the registrations"
damage "$work/R.exe" "$last" "$work/R-last.exe"

# The cases: <name> | <setup before> | <program> | <exit code> | <lines the log must hold, ";"-separated>
# Each starts from an empty $work/t, runs its setup, records the state, installs into
# $work/t/target and compares.
setupEarlier() { run "$work/E.exe" "$work/t/target" && [ "$rc" = 0 ] || fail "the earlier installation failed ($rc)"; }
setupFolderInTheWay() { mkdir -p "$work/t/target/$third" && echo "mine" >"$work/t/target/$third/note.txt"; }
setupRegistrations() {
  # An earlier copy of the shared file with its use counted once, and a screen saver.
  echo "the earlier shared file" >"$system/setwright-rb-shared.dll"
  reg add "$sharedDlls" /v 'C:\windows\system32\setwright-rb-shared.dll' /t REG_DWORD /d 1 /f >/dev/null
  reg add "$desktopKey" /v SCRNSAVE.EXE /d 'C:\windows\setwright-rb-earlier.scr' /f >/dev/null
  # A file of the installation that a program holds open.
  if [ -n "$mingw" ]; then
    mkdir -p "$work/t/target" && echo "the earlier one" >"$work/t/target/setwright-rb-held.txt"
    "$wine" "$work/hold.exe" "$(winpath "$work/t/target/setwright-rb-held.txt")" >/dev/null 2>&1 &
    sleep 2
  fi
}
cleanupRegistrations() {
  rm -f "$system/setwright-rb-shared.dll"
  reg delete "$sharedDlls" /v 'C:\windows\system32\setwright-rb-shared.dll' /f >/dev/null
  reg delete "$desktopKey" /v SCRNSAVE.EXE /f >/dev/null
}
cases=(
  "fresh, CRC error in the third file | : | P3.exe | 4 | CRC error;Rolling back;Rolled back: removed folder"
  "over an earlier installation, CRC error | setupEarlier | P3.exe | 4 | Rolled back: restored;Rolled back."
  "a folder where the third file goes | setupFolderInTheWay | P.exe | 3 | Rolled back."
  "registrations, then a CRC error | setupRegistrations | R-last.exe | 4 | Rolled back: restored C:\\windows\\system32\\setwright-rb-shared.dll;Rolled back: restored the registry value;Rolled back: restored the screen saver setting"
)
[ -f "$font" ] && cases[3]+=";Rolled back: unregistered font"
[ -n "$mingw" ] && cases[3]+=";Rolled back: unregistered control;In use, replaced at the next start;Rolled back: no replacement at the next start"
for entry in "${cases[@]}"; do
  IFS='|' read -r name setup program want texts <<<"$entry"
  name=$(echo $name) setup=$(echo $setup) program=$(echo $program) want=$(echo $want) texts=$(echo $texts)
  echo "case: $name"
  rm -rf "$work/t" && mkdir -p "$work/t"
  $setup
  state "$work/before.txt"
  run "$work/$program" "$work/t/target"
  state "$work/after.txt"
  if [ "$rc" != "$want" ]; then
    fail "$name: exit $rc, not $want"
    sed 's/^/  | /' "$work/log.txt"
  fi
  IFS=';' read -ra lines <<<"$texts"
  for line in "${lines[@]}"; do
    grep -qF -- "$line" "$work/log.txt" || { fail "$name: the log does not say '$line'"; sed 's/^/  | /' "$work/log.txt"; }
  done
  diff "$work/before.txt" "$work/after.txt" >"$work/diff.txt" ||
    { fail "$name: the machine is not as it was"; sed 's/^/  | /' "$work/diff.txt"; }
  [ "$setup" = setupRegistrations ] && cleanupRegistrations
done

# Over the earlier installation, a complete one: the files it replaced are gone, not kept
# beside, and the earlier installation's information is kept and added to.
rm -rf "$work/t" && mkdir -p "$work/t"
setupEarlier
cp "$work/t/target/Uninstal.dat" "$work/earlier.dat"
run "$work/P.exe" "$work/t/target"
[ "$rc" = 0 ] || fail "P over E: exit $rc"
[ -z "$(find "$work/t" -name '*.~sw*')" ] || fail "P over E left kept copies: $(find "$work/t" -name '*.~sw*')"
cmp -s -n "$(stat -c %s "$work/earlier.dat")" "$work/earlier.dat" "$work/t/target/Uninstal.dat" &&
  [ "$(stat -c %s "$work/t/target/Uninstal.dat")" -gt "$(stat -c %s "$work/earlier.dat")" ] ||
  fail "P over E did not add to the earlier uninstall information"
for f in a.bin b.bin sub/c.bin d.bin; do cmp -s "$work/p/$f" "$work/t/target/$f" || fail "P over E: $f is not P's"; done
reg delete "$uninstallKey\\Setwright RB" /f >/dev/null
reg delete "$uninstallKey\\Setwright RB Earlier" /f >/dev/null

# Cancelled through the wizard: while "Are you sure you want to cancel?" is open the log
# (a line per file) stands still; after No it grows again; after Yes the installation is
# rolled back and the program ends with exit code 1.
if [ -n "$click" ] && [ -n "${DISPLAY:-}" ]; then
  echo "case: cancelled in the wizard"
  mkdir -p "$work/w"
  (cd "$work/w" && for n in $(seq 1 2500); do echo "$n" >"f$n.txt"; done)
  project W "Setwright RB Wizard" "$work/w" --window-mode 0
  caption="Setwright RB Wizard Install Program"
  lines() { local n; n=$(grep -c '^Installed' "$work/log.txt" 2>/dev/null); echo "${n:-0}"; }
  press() { "$wine" "$click" "$1" "$2" >/dev/null 2>&1 || fail "wizard: cannot click $2 on \"$1\""; }
  rm -rf "$work/t" && mkdir -p "$work/t" && rm -f "$work/log.txt"
  state "$work/before.txt"
  "$wine" "$work/W.exe" "/LOG=$(winpath "$work/log.txt")" "/D=$(winpath "$work/t/target")" >"$work/wine.txt" 2>&1 &
  pid=$!
  # Next on the Welcome and Directory pages, Yes to making the directory, Start.
  for step in "Welcome 1" "Directory 1" "- 6" "Confirmation 1"; do
    window="$caption - ${step% *}"
    [ "${step% *}" = - ] && window=$caption
    press "$window" "${step#* }"
  done
  for _ in $(seq 1 100); do [ "$(lines)" -ge 200 ] && break; sleep 0.2; done
  press "$caption - Installing" 2
  sleep 2
  paused=$(lines)
  sleep 3
  [ "$(lines)" = "$paused" ] || fail "wizard: the installation went on while the question was open ($paused, then $(lines) files)"
  press "$caption" 7
  for _ in $(seq 1 50); do [ "$(lines)" -gt "$paused" ] && break; sleep 0.2; done
  [ "$(lines)" -gt "$paused" ] || fail "wizard: the installation did not go on after No"
  press "$caption - Installing" 2
  press "$caption" 6
  press "$caption - End" 1
  rc=255
  for _ in $(seq 1 120); do kill -0 $pid 2>/dev/null || { wait $pid; rc=$?; break; }; sleep 0.5; done
  [ "$rc" = 1 ] || fail "wizard: a cancelled installation ended with exit code $rc, not 1"
  grep -qF "Rolled back." "$work/log.txt" || fail "wizard: the log does not say it rolled back"
  [ "$(lines)" -lt 2500 ] || fail "wizard: the installation was complete before it was cancelled"
  state "$work/after.txt"
  diff "$work/before.txt" "$work/after.txt" >"$work/diff.txt" ||
    { fail "wizard: the machine is not as it was"; sed 's/^/  | /' "$work/diff.txt" | head -20; }
fi

[ "$failures" -eq 0 ] && echo "All rollback cases pass." || echo "$failures rollback case(s) failed."
[ "$failures" -eq 0 ]
