#!/usr/bin/env bash
# The installer runtime end to end: setwright-cli builds a fixture project for 64-bit
# Windows, and the installation program runs unattended under wine. Each case gives the
# exit code, a line the installer's log must hold, and how the program was changed.
# Usage: install_cases.sh <setwright-cli> <wine> <wine prefix folder> [<x86_64-w64-mingw32-g++>]
# (the cross-compiler makes DLLs with version information for the version questions)
set -u
cli=$(realpath "$1")
wine=$2
mingw=${4:-}
source "$(dirname "$(realpath "$0")")/wine_env.sh"
prepare_prefix "$wine" "$3" || exit 1
unset DISPLAY WAYLAND_DISPLAY  # unattended: no window may be needed
# The 64-bit view of the registry, where a 64-bit program writes (a 32-bit reg.exe would
# look at the 32-bit one).
reg() { WINEDEBUG=-all "$wine" reg "$@" /reg:64; }
work=$(mktemp -d)
# What the target-folder cases install outside the test's own folder, into the prefix.
programFiles="$WINEPREFIX/drive_c/Program Files/Setwright E2E"
systemFile="$WINEPREFIX/drive_c/windows/system32/setwright-e2e-system.txt"
trap 'rm -rf "$work" "$programFiles" "$systemFile" "$WINEPREFIX/drive_c/windows/system32/setwright-e2e-version.dll"; wineserver -k >/dev/null 2>&1' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# One wine server for all the runs, so that none starts while the last one shuts down.
wineserver -p

# The fixture: a sub-folder two deep, an empty file, a binary file, a name with a space.
src=$work/src
mkdir -p "$src/sub/deeper"
echo "hello" >"$src/a.txt"
: >"$src/empty.txt"
printf 'deep\r\n' >"$src/sub/deeper/c.ini"
echo "a name with a space" >"$src/sub/my file.txt"
# Bytes that do not compress: stored as they are, so a flipped byte inside them is data.
head -c 6000 /dev/urandom >"$src/sub/random.bin"
"$cli" new "$work/P.kft" --source "$src" --platform 2 >/dev/null || fail "new"
"$cli" build "$work/P.kft" -o "$work/Setup.exe" --yes >/dev/null || fail "build"

# expect <exit code> <text the log must contain> <program> <target folder, or "" for no /D=>
expect() {
  local want=$1 text=$2 program=$3 target=$4 rc
  rm -f "$work/log.txt"
  local try
  for try in 1 2; do
    timeout 120 "$wine" "$program" /S "/LOG=$(winpath "$work/log.txt")" ${target:+"/D=$(winpath "$target")"} >"$work/wine.txt" 2>&1
    rc=$?
    # The program writes its log first thing: without one, wine did not start it. Once
    # more then, so that a hiccup of wine is not taken for a fault of the installer.
    [ -e "$work/log.txt" ] && break
    echo "  note: wine did not start $(basename "$program") (exit $rc); once more"
    sed 's/^/  | /' "$work/wine.txt"
  done
  if [ "$rc" != "$want" ] || ! grep -qF -- "$text" "$work/log.txt" 2>/dev/null; then
    fail "$(basename "$program") into $(basename "$target")"
    echo "  wanted exit $want and '$text', got exit $rc:"
    sed 's/^/  | /' "$work/log.txt" "$work/wine.txt" 2>/dev/null
  fi
}

# A clean installation: every file byte for byte, nothing else.
expect 0 "Installation complete."                       "$work/Setup.exe" "$work/target dir"
# The project's uninstaller is installed first, with its uninstall information beside it.
diff -r -x Uninstal.exe -x Uninstal.dat "$src" "$work/target dir" >/dev/null || fail "the installed files differ from their sources"
[ -s "$work/target dir/Uninstal.exe" ] && [ -s "$work/target dir/Uninstal.dat" ] || fail "no uninstaller or no uninstall information"
[ "$(stat -c %Y "$src/a.txt")" = "$(stat -c %Y "$work/target dir/a.txt")" ] || fail "a.txt lost its time"

# One byte flipped inside the stream of sub\random.bin: its place from the file table
# (the data section ends the program, and holds the streams in table order).
total=$(awk '$1 == "REC_END" || $2 == "REC_END" { print $(NF - 2) }' <("$cli" list "$work/Setup.exe"))
offset=$("$cli" list "$work/Setup.exe" | awk '
  /^file / { table = 1; next }
  table && NF >= 5 && $1 !~ /^ / { packed = $(NF - 3); gsub(",", "", packed);
    if ($0 ~ /^sub\\random\.bin /) { print at + int(packed / 2); exit } at += packed }')
size=$(stat -c %s "$work/Setup.exe")
cp "$work/Setup.exe" "$work/Flipped.exe"
at=$((size - total + offset))
byte=$(od -An -tu1 -j "$at" -N1 "$work/Flipped.exe" | tr -d ' ')
printf "$(printf '\\%03o' $(((byte ^ 0x40) & 255)))" | dd of="$work/Flipped.exe" bs=1 seek="$at" conv=notrunc 2>/dev/null
expect 4 "CRC error - cannot install the following file:" "$work/Flipped.exe" "$work/flipped"
grep -qF 'sub\random.bin' "$work/log.txt" || fail "the CRC error does not name sub\\random.bin"
[ ! -e "$work/flipped/sub/random.bin" ] || fail "the damaged file was left behind"

# Cut short by one byte, and padded by one: nothing is installed.
head -c $((size - 1)) "$work/Setup.exe" >"$work/Cut.exe"
expect 2 "This file contains invalid data."             "$work/Cut.exe" "$work/cut"
[ ! -e "$work/cut" ] || fail "a truncated program installed something"
cp "$work/Setup.exe" "$work/Padded.exe" && printf 'x' >>"$work/Padded.exe"
expect 2 "This file contains invalid data."             "$work/Padded.exe" "$work/padded"
[ ! -e "$work/padded" ] || fail "a padded program installed something"

# Follow-on volumes: the program split so that its data continues in Spanned.D01 and
# Spanned.D02 (streams cut across the volume boundaries) installs completely; a padded
# volume is invalid data; without Spanned.D02 it asks for disk 3 and installs nothing.
mkdir -p "$work/span"
cp "$work/Setup.exe" "$work/span/Spanned.exe"
"$cli" split "$work/span/Spanned.exe" $((total / 3 + 1)) >/dev/null || fail "split"
[ -f "$work/span/Spanned.D02" ] && [ ! -e "$work/span/Spanned.D03" ] || fail "split did not make two volumes"
expect 0 "Installation complete."                       "$work/span/Spanned.exe" "$work/spanned"
diff -r -x Uninstal.exe -x Uninstal.dat "$src" "$work/spanned" >/dev/null || fail "the files installed from volumes differ from their sources"
cp "$work/span/Spanned.D01" "$work/D01" && printf 'x' >>"$work/span/Spanned.D01"
expect 2 "This file contains invalid data."             "$work/span/Spanned.exe" "$work/padded volume"
[ ! -e "$work/padded volume" ] || fail "a program with a padded volume installed something"
mv "$work/D01" "$work/span/Spanned.D01" && rm "$work/span/Spanned.D02"
expect 5 "Please insert disk number 3."                 "$work/span/Spanned.exe" "$work/missing"
[ ! -e "$work/missing" ] || fail "a program with a missing volume installed something"

# Target folders and directory macros: a project whose default directory is
# "#Program Files#\Setwright E2E", installed without /D=, lands in the prefix's Program
# Files, and its file with target 2 in the prefix's system32 (the 64-bit one).
rm -rf "$programFiles" "$systemFile"
mkdir -p "$work/src2"
echo "to system32" >"$work/src2/setwright-e2e-system.txt"
echo "to program files" >"$work/src2/main.txt"
"$cli" new "$work/T.kft" --source "$work/src2" --platform 2 --default-dir '#Program Files#\Setwright E2E' \
  --target setwright-e2e-system.txt=2 >/dev/null || fail "new with a default directory and a target"
"$cli" build "$work/T.kft" -o "$work/Targets.exe" --yes >/dev/null || fail "build with targets"
expect 0 "Installation complete."                       "$work/Targets.exe" ""
cmp -s "$work/src2/main.txt" "$programFiles/main.txt" || fail "main.txt is not in the prefix's Program Files"
cmp -s "$work/src2/setwright-e2e-system.txt" "$systemFile" || fail "the System file is not in the prefix's system32"
[ ! -e "$programFiles/setwright-e2e-system.txt" ] || fail "the System file went to the installation directory"
grep -qF 'Program Files\Setwright E2E\main.txt' "$work/log.txt" || fail "the log does not show the expanded default directory"

# The options of files and of the project: a Start-menu icon in a folder of its own and one
# in the Startup folder, a desktop shortcut, a file not installed, one never uninstalled, a
# shared file in the System folder with its usage count, and the installation directory
# stored in the registry and in an .ini file. A second run without /D= installs into the
# stored directory. The uninstaller then removes the icons, the shortcut, the counted use
# and the folder it made, and leaves the file that is never uninstalled.
mkdir -p "$work/src3"
user=$(id -un)
menu="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
rm -rf "$menu/Setwright E2E"  # made by an earlier run that stopped half-way
sharedDlls='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'
shared='C:\windows\system32\setwright-e2e-shared.dll'
reg delete "$sharedDlls" /v "$shared" /f >/dev/null 2>&1
for f in tool.exe readme.txt keep.txt skip.txt setwright-e2e-shared.dll; do echo "$f" >"$work/src3/$f"; done
"$cli" new "$work/O.kft" --source "$work/src3" --platform 2 --title "Setwright E2E Options" \
  --icon 'tool.exe=Setwright E2E,E2E Tool' --shortcut 'tool.exe=Setwright E2E Tool' \
  --icon 'readme.txt=#Startup#,E2E Readme' --option keep.txt=3:0 --option skip.txt=3:2 \
  --target setwright-e2e-shared.dll=2 --dir-registry '2,Software\Setwright E2E Options,Dir' \
  --dir-ini 'setwright-e2e.ini,Setup,Dir' >/dev/null || fail "new with file options"
"$cli" build "$work/O.kft" -o "$work/Options.exe" --yes >/dev/null || fail "build with file options"
expect 0 "Installation complete."                       "$work/Options.exe" "$work/options"
links=("$menu/Setwright E2E/E2E Tool.lnk" "$(find "$menu" -maxdepth 1 -iname startup)/E2E Readme.lnk" "$WINEPREFIX/drive_c/users/$user/Desktop/Setwright E2E Tool.lnk")
for link in "${links[@]}"; do [ -s "$link" ] || fail "no shortcut $link"; done
grep -qF 'tool.exe' "${links[0]}" 2>/dev/null || fail "the Start-menu icon does not lead to tool.exe"
[ ! -e "$work/options/skip.txt" ] || fail "a file marked 'do not install' was installed"
reg query "$sharedDlls" /v "$shared" 2>/dev/null | tr -d '\r' | grep -q '0x1$' || fail "the shared file's usage count is not 1"
reg query 'HKLM\Software\Setwright E2E Options' /v Dir 2>/dev/null | grep -qF "$(winpath "$work/options")" ||
  fail "the installation directory was not stored in the registry"
grep -qiF "Dir=$(winpath "$work/options")" "$WINEPREFIX/drive_c/windows/setwright-e2e.ini" 2>/dev/null ||
  fail "the installation directory was not stored in the .ini file"
reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Setwright E2E Options' /v UninstallString \
  2>/dev/null | grep -qF 'Uninstal.exe' || fail "the uninstaller is not in the list of installed programs"
rm -f "$work/options/readme.txt"
expect 0 "Installation complete."                       "$work/Options.exe" ""
[ -f "$work/options/readme.txt" ] || fail "a second installation without /D= did not use the stored directory"
timeout 120 "$wine" "$work/options/Uninstal.exe" /S >/dev/null 2>&1
# The uninstaller's last step, removing its own file, is done by a copy of it that waits
# for it to end; the wine server here stays up, so wait for the file to go.
for _ in $(seq 60); do [ -e "$work/options/Uninstal.exe" ] || break; sleep 1; done
for link in "${links[@]}"; do [ ! -e "$link" ] || fail "the uninstaller left $link"; done
[ ! -e "$menu/Setwright E2E" ] || fail "the uninstaller left the Start-menu folder it made"
[ -f "$work/options/keep.txt" ] || fail "the uninstaller removed a file marked 'do not uninstall'"
# Both installations counted a use; the uninstaller takes back both, and keeps the
# unused file (the safe answer unattended) without a count.
reg query "$sharedDlls" /v "$shared" >/dev/null 2>&1 && fail "the shared file's count was not taken back"
[ ! -e "$work/options/tool.exe" ] || fail "the uninstaller left tool.exe"
rm -f "$WINEPREFIX/drive_c/windows/system32/setwright-e2e-shared.dll" "$WINEPREFIX/drive_c/windows/setwright-e2e.ini"

# Versions: a System file installed over a newer version of itself, or over one in another
# language, keeps the installed file unattended (the question's safe answer, logged); over
# an older version it replaces it.
versioned() {  # versioned <dll> <version> <language>
  local rc=$work/v.rc
  printf '1 VERSIONINFO\nFILEVERSION %s,0,0,0\nPRODUCTVERSION %s,0,0,0\nBEGIN\n BLOCK "VarFileInfo"\n BEGIN\n  VALUE "Translation", %s, 1200\n END\nEND\n' \
    "$2" "$2" "$3" >"$rc"
  "${mingw%g++}windres" "$rc" -O coff -o "$work/v.o" && echo 'int setwright_e2e;' >"$work/v.c" &&
    "${mingw%g++}gcc" -shared -s "$work/v.c" "$work/v.o" -o "$1"
}
if [ -n "$mingw" ]; then
  systemDll="$WINEPREFIX/drive_c/windows/system32/setwright-e2e-version.dll"
  mkdir -p "$work/src4"
  versioned "$work/src4/setwright-e2e-version.dll" 2 0x409 || fail "the versioned DLL does not build"
  "$cli" new "$work/V.kft" --source "$work/src4" --platform 2 --uninstaller "" \
    --target setwright-e2e-version.dll=2 >/dev/null || fail "new with a versioned file"
  "$cli" build "$work/V.kft" -o "$work/Version.exe" --yes >/dev/null || fail "build with a versioned file"
  for installed in "3 0x409 kept" "2 0x407 kept" "1 0x409 replaced"; do
    set -- $installed
    versioned "$systemDll" "$1" "$2" && cp "$systemDll" "$work/installed.dll"
    expect 0 "Installation complete."                   "$work/Version.exe" "$work/version"
    if [ "$3" = kept ]; then
      cmp -s "$systemDll" "$work/installed.dll" || fail "version $1 language $2 was replaced"
      grep -qF "Kept the installed" "$work/log.txt" || fail "the log does not say the version $1 file was kept"
    else
      cmp -s "$systemDll" "$work/src4/setwright-e2e-version.dll" || fail "the older version $1 was not replaced"
    fi
  done
  rm -f "$systemDll"

  # A control (option 4 = 2) is registered once it is in place: its DllRegisterServer
  # leaves a key behind.
  mkdir -p "$work/src5"
  cat >"$work/control.cpp" <<'CONTROL'
#include <windows.h>
extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer()
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Setwright E2E Registered", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr))
        return E_FAIL;
    RegCloseKey(key);
    return S_OK;
}
CONTROL
  "$mingw" -shared -static -s -o "$work/src5/control.ocx" "$work/control.cpp" || fail "the test control does not build"
  reg delete 'HKCU\Software\Setwright E2E Registered' /f >/dev/null 2>&1
  "$cli" new "$work/C.kft" --source "$work/src5" --platform 2 --uninstaller "" --option control.ocx=4:2 >/dev/null &&
    "$cli" build "$work/C.kft" -o "$work/Control.exe" --yes >/dev/null || fail "build with a control"
  expect 0 "Registered control"                         "$work/Control.exe" "$work/control"
  reg query 'HKCU\Software\Setwright E2E Registered' >/dev/null 2>&1 || fail "the control was not registered"
fi

# A font (target 3) goes into the Fonts folder and is registered under its name.
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
if [ -f "$font" ]; then
  fontsKey='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
  mkdir -p "$work/src6" && cp "$font" "$work/src6/SetwrightE2E.ttf"
  "$cli" new "$work/F.kft" --source "$work/src6" --platform 2 --uninstaller "" --target SetwrightE2E.ttf=3 >/dev/null &&
    "$cli" build "$work/F.kft" -o "$work/Font.exe" --yes >/dev/null || fail "build with a font"
  expect 0 "Registered font"                            "$work/Font.exe" "$work/font"
  cmp -s "$font" "$WINEPREFIX/drive_c/windows/Fonts/SetwrightE2E.ttf" || fail "the font is not in the Fonts folder"
  reg query "$fontsKey" /v 'SetwrightE2E (TrueType)' 2>/dev/null | grep -qF 'SetwrightE2E.ttf' ||
    fail "the font is not registered"
  reg delete "$fontsKey" /v 'SetwrightE2E (TrueType)' /f >/dev/null 2>&1
  rm -f "$WINEPREFIX/drive_c/windows/Fonts/SetwrightE2E.ttf"
fi

[ "$failures" -eq 0 ] && echo "All installer cases pass." || echo "$failures installer case(s) failed."
[ "$failures" -eq 0 ]
