#!/usr/bin/env bash
# The uninstaller runtime end to end: setwright-cli builds a project with an uninstaller
# for 64-bit Windows, the installation program installs it unattended under wine, and the
# uninstaller (/S) takes it away again. Further cases give the uninstaller uninstall
# information written by make_uninstall_info, to list each kind of thing it removes, and
# damaged or missing information.
# Usage: uninstall_cases.sh <setwright-cli> <wine> <wine prefix folder> <make_uninstall_info> <bare uninstaller runtime>
#        <x86_64-w64-mingw32-g++, for a control to unregister>
set -u
cli=$(realpath "$1")
wine=$2
makeInfo=$(realpath "$4")
bareRuntime=$(realpath "$5")
mingw=$6
source "$(dirname "$(realpath "$0")")/wine_env.sh"
prepare_prefix "$wine" "$3" || exit 1
unset DISPLAY WAYLAND_DISPLAY  # unattended: no window may be needed
work=$(mktemp -d)
trap 'rm -rf "$work"; wineserver -k >/dev/null 2>&1' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
sharedDlls='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'
fonts='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
unregistered='HKCU\Software\Setwright E2E Unregistered'

# The runtimes under test are 64-bit: reg looks at the registry they see (a 32-bit reg.exe,
# which wine starts where its 32-bit part is installed, would see the WOW6432Node keys).
reg() { timeout 60 "$wine" reg "$@" /reg:64 >/dev/null 2>&1; }
# The user's Documents (a real folder of the prefix: wine_env.sh).
documents=
for user in "$WINEPREFIX"/drive_c/users/*/; do
  [ "$(basename "$user")" = Public ] && continue
  documents=${user}Documents
  documentsWin="C:\\users\\$(basename "$user")\\Documents"
done

# The project: two files, one in a sub-folder; the uninstaller removes a key of the
# author's, leaves alone a whole hive, system keys and a key without a root.
src=$work/src
mkdir -p "$src/sub"
echo "hello" >"$src/a.txt"
echo "deep" >"$src/sub/b.txt"
"$cli" new "$work/P.kft" --source "$src" --platform 2 --title "Setwright E2E" --uninstaller Remove.exe \
  --remove-key 'HKEY_CURRENT_USER\Software\Setwright E2E' --remove-key 'HKEY_LOCAL_MACHINE\Software' \
  --remove-key 'HKEY_LOCAL_MACHINE\Software\Microsoft' --remove-key 'HKEY_CLASSES_ROOT\CLSID' \
  --remove-key 'NoRoot\Key' >/dev/null || fail "new"
"$cli" build "$work/P.kft" -o "$work/Setup.exe" --yes >/dev/null || fail "build"

# Install and uninstall: the installation folder goes completely, with the uninstaller,
# its information and the program's entry among the installed programs; the author's key
# goes; what lies outside the installation stays.
target="$work/Program Dir"
uninstallEntry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Setwright E2E'
run "$work/Setup.exe" "/D=$(winpath "$target")"
expect 0 "Installation complete." "installation"
[ -f "$target/Remove.exe" ] && [ -f "$target/Remove.dat" ] || fail "the installer did not install Remove.exe and Remove.dat"
cp "$target/Remove.exe" "$work/Remove.exe"  # for the cases below
reg add 'HKCU\Software\Setwright E2E\Sub' /v Value /d 1 /f || fail "reg add"
run "$target/Remove.exe"
expect 0 "Uninstallation complete." "uninstallation after an installation"
[ ! -e "$target" ] || { fail "the installation folder is still there:"; find "$target" | sed 's/^/  | /'; }
reg query 'HKCU\Software\Setwright E2E' && fail "the author's key was not removed"
reg query "$uninstallEntry" && fail "the program's entry among the installed programs was not removed"
reg query 'HKLM\Software\Microsoft' || fail "a key outside the installation went"
reg query 'HKCR\CLSID' || fail "HKEY_CLASSES_ROOT\\CLSID went"
for key in 'HKEY_LOCAL_MACHINE\Software' 'HKEY_LOCAL_MACHINE\Software\Microsoft' 'HKEY_CLASSES_ROOT\CLSID'; do
  grep -qxF "Registry key that no product owns, left alone: $key" <(tr -d '\r' <"$work/log.txt") ||
    fail "the log does not say that $key was left alone"
done
grep -qF 'Registry key without a root (HKEY_...), left alone: NoRoot\Key' "$work/log.txt" ||
  fail "the log does not say that the key without a root was left alone"
cmp -s "$src/a.txt" <(echo "hello") || fail "the source files were touched"

# place <folder>: a copy of the uninstaller in <folder>, whose information the case writes.
place() { mkdir -p "$1" && cp "$work/Remove.exe" "$1/Remove.exe"; }
info() { local dat=$1; shift; "$makeInfo" "$dat" "$@" || fail "make_uninstall_info $*"; }

# A control whose unregistration leaves a mark: a key named after its own file under
# $unregistered.
cat >"$work/control.cpp" <<'CONTROL'
#include <windows.h>
extern "C" IMAGE_DOS_HEADER __ImageBase;
extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer()
{
    wchar_t path[MAX_PATH], key[MAX_PATH + 64] = L"Software\\Setwright E2E Unregistered\\";
    DWORD length = GetModuleFileNameW(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
    const wchar_t* name = path;
    for (DWORD i = 0; i < length; ++i)
        if (path[i] == L'\\') name = path + i + 1;
    lstrcatW(key, name);
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr)) return E_FAIL;
    RegCloseKey(created);
    return S_OK;
}
CONTROL
"$mingw" -shared -static -s -o "$work/control.dll" "$work/control.cpp" || fail "the test control does not build"

# Every kind the installer lists, made by hand: listed files go (a write-protected one too,
# unattended), unlisted ones stay and so does their folder; an empty listed folder goes;
# a shared file whose count drops to 0 is kept unattended (the safe answer) and loses its
# count, one that other programs use keeps a lowered count. A font loses its registry
# value and its file; a control is unregistered and removed, unless it is a shared file
# that other programs still use.
kinds=$work/kinds
place "$kinds"
mkdir -p "$kinds/made/empty"
echo x >"$kinds/made/listed.txt"
echo x >"$kinds/made/$(printf 'caf\xc3\xa9 \xe2\x82\xac.txt')"
echo x >"$kinds/made/protected.txt" && chmod a-w "$kinds/made/protected.txt"
echo x >"$kinds/made/Program.lnk"
echo x >"$kinds/made/unlisted.txt"
echo x >"$kinds/made/last.dll"
echo x >"$kinds/made/used.dll"
reg add "$sharedDlls" /v "$(winpath "$kinds/made/last.dll")" /t REG_DWORD /d 1 /f || fail "reg add"
reg add "$sharedDlls" /v "$(winpath "$kinds/made/used.dll")" /t REG_DWORD /d 3 /f || fail "reg add"
kindsEntry='Software\Microsoft\Windows\CurrentVersion\Uninstall\Setwright E2E Kinds'
reg add "HKCU\\$kindsEntry\\Sub" /v Value /d 1 /f || fail "reg add"
echo x >"$kinds/made/Setwright E2E.ttf"
reg add "$fonts" /v 'Setwright E2E (TrueType)' /d "$(winpath "$kinds/made/Setwright E2E.ttf")" /f || fail "reg add"
cp "$work/control.dll" "$kinds/made/own.ocx"
cp "$work/control.dll" "$kinds/made/shared.ocx"
reg add "$sharedDlls" /v "$(winpath "$kinds/made/shared.ocx")" /t REG_DWORD /d 2 /f || fail "reg add"
reg delete "$unregistered" /f
info "$kinds/Remove.dat" "folder=$(winpath "$kinds")" "folder=$(winpath "$kinds/made")" \
  "folder=$(winpath "$kinds/made/empty")" "file=$(winpath "$kinds/made/listed.txt")" \
  "file=$(winpath "$kinds/made/$(printf 'caf\xc3\xa9 \xe2\x82\xac.txt')")" \
  "file=$(winpath "$kinds/made/protected.txt")" "shortcut=$(winpath "$kinds/made/Program.lnk")" \
  "shared=$(winpath "$kinds/made/last.dll")" "shared=$(winpath "$kinds/made/used.dll")" \
  "file=$(winpath "$kinds/made/gone-already.txt")" "key=0x80000001|$kindsEntry" \
  "file=$(winpath "$kinds/made/Setwright E2E.ttf")" "font=$(winpath "$kinds/made/Setwright E2E.ttf")|Setwright E2E (TrueType)" \
  "file=$(winpath "$kinds/made/own.ocx")" "control=$(winpath "$kinds/made/own.ocx")" \
  "shared=$(winpath "$kinds/made/shared.ocx")" "control=$(winpath "$kinds/made/shared.ocx")"
run "$kinds/Remove.exe"
expect 0 "Uninstallation complete." "uninstallation of every kind"
for gone in made/listed.txt "made/$(printf 'caf\xc3\xa9 \xe2\x82\xac.txt')" made/protected.txt made/Program.lnk made/empty "made/Setwright E2E.ttf" made/own.ocx \
  Remove.exe Remove.dat; do
  [ ! -e "$kinds/$gone" ] || fail "$gone was not removed"
done
for kept in made/unlisted.txt made/last.dll made/used.dll made/shared.ocx; do
  [ -e "$kinds/$kept" ] || fail "$kept was removed"
done
grep -qF "No longer used, kept (unattended): $(winpath "$kinds/made/last.dll")" "$work/log.txt" ||
  fail "the log does not say that the unused shared file was kept"
reg query "$sharedDlls" /v "$(winpath "$kinds/made/last.dll")" && fail "the count of the unused shared file is still there"
timeout 60 "$wine" reg query "$sharedDlls" /v "$(winpath "$kinds/made/used.dll")" /reg:64 2>/dev/null | grep -q '0x2' ||
  fail "the count of the shared file in use was not lowered to 2"
reg query "HKCU\\$kindsEntry" && fail "the listed key was not removed"
[ -d "$kinds/made" ] || fail "a folder with an unlisted file was removed"
reg query "$fonts" /v 'Setwright E2E (TrueType)' && fail "the font's registry value is still there"
reg query "$unregistered\own.ocx" || fail "the control was not unregistered"
reg query "$unregistered\shared.ocx" && fail "a control that other programs use was unregistered"

# An interrupted installation: its last record cut short. What comes before it goes.
torn=$work/torn
place "$torn"
mkdir -p "$torn/files" && echo x >"$torn/files/first.txt" && echo x >"$torn/files/second.txt"
info "$torn/Remove.dat" "file=$(winpath "$torn/files/first.txt")" "file=$(winpath "$torn/files/second.txt")"
truncate -s -3 "$torn/Remove.dat"
run "$torn/Remove.exe"
expect 0 "Uninstallation complete." "uninstallation after an interrupted installation"
[ ! -e "$torn/files/first.txt" ] || fail "a file listed before the cut was not removed"
[ -e "$torn/files/second.txt" ] || fail "the file of the cut record was removed"

# Something listed that cannot be removed (a "file" that is a folder): exit 3, the rest goes,
# and the uninstaller and its information stay so that it can run again.
stuck=$work/stuck
place "$stuck"
mkdir -p "$stuck/files/folder" && echo x >"$stuck/files/other.txt"
info "$stuck/Remove.dat" "file=$(winpath "$stuck/files/other.txt")" "file=$(winpath "$stuck/files/folder")"
run "$stuck/Remove.exe"
expect 3 "Not a file, left alone: $(winpath "$stuck/files/folder")" "uninstallation with something that cannot be removed"
grep -qF "Uninstallation incomplete." "$work/log.txt" || fail "the log does not say that the uninstallation is incomplete"
[ ! -e "$stuck/files/other.txt" ] || fail "the rest was not removed when one thing could not be"
[ -e "$stuck/Remove.exe" ] && [ -e "$stuck/Remove.dat" ] || fail "an incomplete uninstallation removed the uninstaller"

# A file in use (held open by a program that lets nobody delete it) goes at the next start
# of Windows. The holder lets go once the uninstaller's log says so, so that waiting for
# the prefix's programs to end does not wait for it.
cat >"$work/holder.cpp" <<'HOLDER'
#include <windows.h>
#include <cstring>
int wmain(int, wchar_t** argv)
{
    HANDLE held = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));  // holding now
    for (int i = 0; i < 1200; ++i) {
        char text[4096] = {};
        DWORD read = 0;
        HANDLE log = CreateFileW(argv[3], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (log != INVALID_HANDLE_VALUE) {
            ReadFile(log, text, sizeof text - 1, &read, nullptr);
            CloseHandle(log);
        }
        if (std::strstr(text, "Uninstallation ")) break;
        Sleep(100);
    }
    CloseHandle(held);
    return 0;
}
HOLDER
"$mingw" -municode -static -s -o "$work/holder.exe" "$work/holder.cpp" || fail "the file holder does not build"
busy=$work/busy
place "$busy"
echo x >"$busy/in use.txt"
info "$busy/Remove.dat" "file=$(winpath "$busy/in use.txt")"
rm -f "$work/log.txt" "$work/holding"
timeout 120 "$wine" "$work/holder.exe" "$(winpath "$busy/in use.txt")" "$(winpath "$work/holding")" \
  "$(winpath "$work/log.txt")" >/dev/null 2>&1 &
for _ in $(seq 600); do [ -e "$work/holding" ] && break; sleep 0.1; done
[ -e "$work/holding" ] || fail "the file holder did not start"
run "$busy/Remove.exe"
wait
expect 0 "In use, removed at the next start of Windows: $(winpath "$busy/in use.txt")" "uninstallation of a file in use"
grep -qF "Restart needed" "$work/log.txt" || fail "the log does not say that a restart is needed"
[ -e "$busy/in use.txt" ] || fail "the file in use went at once"
# Wine starts again after its server has ended: the file goes then.
reg query 'HKCU\Software'
timeout 120 wineserver -w
[ ! -e "$busy/in use.txt" ] || fail "the file in use did not go at the next start"

# Information that cannot be trusted removes nothing and exits with 2, the uninstaller
# staying: a damaged record with another after it, a relative path, a missing file, and an
# uninstaller without its records (the bare runtime).
for case in damaged relative missing; do
  dir=$work/$case
  place "$dir"
  echo x >"$dir/keep.txt"
  case $case in
  damaged)
    info "$dir/Remove.dat" "file=$(winpath "$dir/keep.txt")" "file=$(winpath "$dir/keep.txt")"
    printf 'X' | dd of="$dir/Remove.dat" bs=1 seek=40 conv=notrunc 2>/dev/null ;;
  relative) info "$dir/Remove.dat" "file=$(winpath "$dir/keep.txt")" "file=keep.txt" ;;
  missing) ;;
  esac
  run "$dir/Remove.exe"
  expect 2 "Invalid uninstall info. This program cannot uninstall Setwright E2E." "$case uninstall information"
  [ -e "$dir/keep.txt" ] && [ -e "$dir/Remove.exe" ] || fail "$case uninstall information removed something"
done
mkdir -p "$work/bare" && cp "$bareRuntime" "$work/bare/Remove.exe"
info "$work/bare/Remove.dat" "file=$(winpath "$work/bare/Remove.dat")"
run "$work/bare/Remove.exe"
expect 2 "Invalid uninstall info." "an uninstaller without its records"
[ -e "$work/bare/Remove.dat" ] || fail "an uninstaller without its records removed something"

# Information that names what its installation cannot own was altered: nothing goes, the
# uninstaller says the information is invalid (exit 2), and what was named stays. Each case
# lists a file of its own folder as well, which must stay too.
mkdir -p "$work/elsewhere" && cp "$work/control.dll" "$work/elsewhere/planted.dll"
echo x >"$documents/Setwright E2E letter.txt"
sys32='C:\windows\system32'
reg delete "$unregistered" /f
while IFS=';' read -r case item logged; do
  [ -n "$case" ] || continue
  item=${item//@ELSEWHERE@/$(winpath "$work/elsewhere")}
  item=${item//@DOCUMENTS@/$documentsWin}
  logged=${logged//@ELSEWHERE@/$(winpath "$work/elsewhere")}
  logged=${logged//@DOCUMENTS@/$documentsWin}
  dir=$work/tampered-$case
  place "$dir"
  echo x >"$dir/keep.txt"
  if [ "$case" = control ]; then
    info "$dir/Remove.dat" "file=$(winpath "$dir/keep.txt")" "file=$item" "control=$item"
  else
    info "$dir/Remove.dat" "file=$(winpath "$dir/keep.txt")" "$item"
  fi
  run "$dir/Remove.exe"
  expect 2 "Invalid uninstall info. This program cannot uninstall Setwright E2E." "tampered information: $case"
  grep -qF -- "$logged" "$work/log.txt" || fail "the log does not say what was left alone ($case): $logged"
  [ -e "$dir/keep.txt" ] && [ -e "$dir/Remove.exe" ] && [ -e "$dir/Remove.dat" ] ||
    fail "tampered information removed something of its own folder ($case)"
done <<CASES
systemdll;file=$sys32\\comdlg32.dll;Outside the installation, left alone: $sys32\\comdlg32.dll
document;file=@DOCUMENTS@\\Setwright E2E letter.txt;Outside the installation, left alone: @DOCUMENTS@\\Setwright E2E letter.txt
systemfolder;folder=$sys32;Outside the installation, left alone: $sys32
machinekey;key=0x80000002|Software\\Microsoft;not this installation's entry, left alone: HKEY_LOCAL_MACHINE\\Software\\Microsoft
userkey;key=0x80000001|Software;not this installation's entry, left alone: HKEY_CURRENT_USER\\Software
classkey;key=0x80000000|CLSID;not this installation's entry, left alone: HKEY_CLASSES_ROOT\\CLSID
control;@ELSEWHERE@\\planted.dll;Outside the installation, left alone: @ELSEWHERE@\\planted.dll
driveroot;installation=Z:\\;does not hold the uninstaller, or a protected folder above it: Z:\\
sibling;installation=@ELSEWHERE@;does not hold the uninstaller, or a protected folder above it: @ELSEWHERE@
CASES
[ -e "$WINEPREFIX/drive_c/windows/system32/comdlg32.dll" ] || fail "a system DLL went"
[ -d "$WINEPREFIX/drive_c/windows/system32" ] || fail "the system folder went"
[ -e "$documents/Setwright E2E letter.txt" ] || fail "a document went"
for key in 'HKLM\Software\Microsoft' 'HKCU\Software' 'HKCR\CLSID'; do reg query "$key" || fail "$key went"; done
[ -e "$work/elsewhere/planted.dll" ] || fail "a control outside the installation was removed"
reg query "$unregistered\\planted.dll" && fail "a control outside the installation was unregistered"

# An installation whose uninstaller lives in a sub-folder names the folder above it: what
# lies there goes, and so do both folders, which the installation made.
above=$work/above
place "$above/bin"
echo x >"$above/top.txt" && echo x >"$above/bin/tool.txt"
info "$above/bin/Remove.dat" "installation=$(winpath "$above")" "folder=$(winpath "$above")" \
  "folder=$(winpath "$above/bin")" "file=$(winpath "$above/top.txt")" "file=$(winpath "$above/bin/tool.txt")"
run "$above/bin/Remove.exe"
expect 0 "Installation folder: $(winpath "$above")" "an installation folder above the uninstaller's"
[ ! -e "$above" ] || { fail "the installation folder above the uninstaller's is still there:"; find "$above" | sed 's/^/  | /'; }

[ "$failures" -eq 0 ] && echo "All uninstaller cases pass." || echo "$failures uninstaller case(s) failed."
[ "$failures" -eq 0 ]
