#!/usr/bin/env bash
# What an installation program must never do to the machine it runs on, end to end under
# wine, for 32-bit (platform 1) or 64-bit (platform 2) programs. One table of cases: each
# builds a program with setwright-cli (or takes one apart), runs it or its uninstaller
# unattended, and then checks the machine: the files, the folders and the list of
# installed programs.
# Usage: safety_cases.sh <setwright-cli> <wine> <wine prefix folder> <platform 1|2> <make_uninstall_info>
set -u
cli=$(realpath "$1")
wine=$2
platform=$4
makeInfo=$(realpath "$5")
here=$(dirname "$(realpath "$0")")
source "$here/wine_env.sh"
prepare_prefix "$wine" "$3" || exit 1
unset DISPLAY WAYLAND_DISPLAY  # unattended: no window may be needed
work=$(mktemp -d)
drive="$WINEPREFIX/dosdevices/r:"
trap 'rm -rf "$work"; rm -f "$drive"; wineserver -k >/dev/null 2>&1' EXIT
failures=0
fail() { echo "FAIL [platform $platform]: $*"; failures=$((failures + 1)); }

# The registry view a program of this platform writes to (a 32-bit program's HKLM\Software
# is the 64-bit system's WOW6432Node).
view=/reg:64
[ "$platform" = 1 ] && view=/reg:32
uninstallKey='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
reg() { timeout 60 "$wine" reg "$@" "$view" </dev/null 2>/dev/null | tr -d '\r'; }
entries() { reg query "$uninstallKey" | grep -i '^HKEY' | sort; }

# Relative directories are tried from a folder of their own, to see what they make.
runFolder=$work/cwd
# project <name> <source folder> [options of new...]: builds $work/<name>.exe
project() {
  local name=$1 source=$2
  shift 2
  "$cli" new "$work/$name.kft" --source "$source" --platform "$platform" "$@" >/dev/null &&
    "$cli" build "$work/$name.kft" -o "$work/$name.exe" --yes >"$work/build.txt" 2>&1 || fail "$name does not build"
}

# flip <program> <offset>: one bit of the program changed, into $work/Flipped.exe
flip() {
  cp "$1" "$work/Flipped.exe"
  local byte
  byte=$(od -An -tu1 -j "$2" -N1 "$work/Flipped.exe" | tr -d ' ')
  printf "$(printf '\\%03o' $(((byte ^ 0x10) & 255)))" | dd of="$work/Flipped.exe" bs=1 seek="$2" conv=notrunc 2>/dev/null
}

# The offset of a record's payload (from `list`), and the start of the data section.
recordAt() { echo $((16#$("$cli" list "$1" | awk -v id="$2" '$2 == id { print $1; exit }'))); }
recordOffset() { echo $(($(recordAt "$1" "$2") + 8)); }
dataStart() {
  local size end
  size=$(stat -c %s "$1")
  end=$("$cli" list "$1" | awk '$2 == "REC_END" { print $(NF - 2); exit }')
  echo $((size - end))
}

mkdir -p "$work/cwd" "$work/src" "$work/src/sub"
echo "hello" >"$work/src/a.txt"
echo "deep" >"$work/src/sub/b.txt"
head -c 20000 /dev/urandom >"$work/src/random.bin"
# An entry of another program, which no installation of ours may touch.
reg add "$uninstallKey\\Setwright Sentinel" /v DisplayName /d Sentinel /f >/dev/null
before=$(entries)

# 1. An empty title with a trailing backslash, and a drive root: the entry is named after
#    the folder, else the program, one level below the Uninstall key; the uninstaller
#    removes it and leaves every other entry.
project Untitled "$work/src" --title ""
run "$work/Untitled.exe" "/D=$(winpath "$work/T/x")\\"
expect 0 "Installation complete." "empty title, trailing backslash"
reg query "$uninstallKey\\x" | grep -q 'UninstallString' || fail "no entry named x"
reg query "$uninstallKey\\x" | grep -q 'EstimatedSize' || fail "the entry has no EstimatedSize"
reg query "$uninstallKey\\x" | grep -q "InstallDate.*$(date +%Y)" || fail "the entry has no InstallDate"
reg query "$uninstallKey" /v UninstallString | grep -q UninstallString && fail "values written onto the Uninstall key itself"
run "$work/T/x/Uninstal.exe"
expect 0 "Uninstallation complete." "uninstall after an empty title"
[ "$(entries)" = "$before" ] || fail "the list of installed programs changed: $(diff <(echo "$before") <(entries) | tr '\n' ' ')"
[ ! -e "$work/T/x" ] || fail "the uninstaller left $work/T/x"

mkdir -p "$work/root"
ln -sfn "$work/root" "$drive"
run "$work/Untitled.exe" '/D=R:\'
expect 0 "Installation complete." "installation into a drive root"
reg query "$uninstallKey\\Untitled" | grep -q 'UninstallString' || fail "a drive root's entry is not named after the program"
run "$work/root/Uninstal.exe"
expect 0 "Uninstallation complete." "uninstall from a drive root"
[ "$(entries)" = "$before" ] || fail "the list of installed programs changed after the drive root"
[ -z "$(ls -A "$work/root")" ] || fail "the uninstaller left files in the drive root: $(ls -A "$work/root" | tr '\n' ' ')"
rm -f "$drive"

# 2. Project files named like the uninstaller or its information are refused at build
#    time, with nothing written; the same name in a sub-folder is another file.
for name in Uninstal.exe UNINSTAL.EXE Uninstal.dat uninstal.DAT; do
  rm -rf "$work/clash" && mkdir -p "$work/clash" && echo "a copy" >"$work/clash/$name" && echo "x" >"$work/clash/x.txt"
  "$cli" new "$work/Clash.kft" --source "$work/clash" --platform "$platform" >/dev/null
  "$cli" build "$work/Clash.kft" -o "$work/Clash.exe" --yes >"$work/build.txt" 2>&1 && fail "a project file $name was built"
  grep -qF "$name" "$work/build.txt" || fail "the build's message does not name $name"
  [ ! -e "$work/Clash.exe" ] || fail "a refused build of $name left its output"
done
rm -rf "$work/clash" && mkdir -p "$work/clash/sub" && echo "a copy" >"$work/clash/sub/Uninstal.exe"
"$cli" new "$work/Clash.kft" --source "$work/clash" --platform "$platform" >/dev/null
"$cli" build "$work/Clash.kft" -o "$work/Clash.exe" --yes >/dev/null 2>&1 || fail "sub\\Uninstal.exe was refused"

# 3. One rule for the directory, whether typed in the wizard or given with /D=: relative
#    ones are refused before anything is written; "..", "." and doubled backslashes are
#    resolved, so that nothing stray is made and the result can be uninstalled.
project Dirs "$work/src" --title "Setwright Safety Dirs"
for relative in 'rel\dir' '..\rel' 'R:rel' '\rel'; do
  run "$work/Dirs.exe" "/D=$relative"
  expect 7 "Invalid directory." "relative directory $relative"
  [ -z "$(ls -A "$work/cwd")" ] || fail "a relative directory $relative made $(ls -A "$work/cwd")"
done
for given in "$(winpath "$work/D/x")\\..\\y\\.\\z" "$(winpath "$work/D")\\\\\\y\\\\z"; do
  rm -rf "$work/D"
  run "$work/Dirs.exe" "/D=$given"
  expect 0 "Installation complete." "directory $given"
  diff -r -x Uninstal.exe -x Uninstal.dat "$work/src" "$work/D/y/z" >/dev/null || fail "$given did not install into D\\y\\z"
  [ ! -e "$work/D/x" ] || fail "$given left a stray folder D\\x"
  run "$work/D/y/z/Uninstal.exe"
  expect 0 "Uninstallation complete." "uninstall of $given"
  [ ! -e "$work/D" ] || fail "the uninstaller of $given left $(find "$work/D" | tr '\n' ' ')"
done
[ "$(entries)" = "$before" ] || fail "the list of installed programs changed after the directory cases"

# 4. Uninstall information altered after the installation (anyone who can write the
#    installation folder can) that names what the installation does not own removes
#    nothing of what it names: a system DLL (as a file, or as a shared file without a usage
#    count), a document, the system folder, a key of the system's.
project Tampered "$work/src" --title "Setwright Safety Tampered"
user=$(basename "$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 ! -name Public | head -1)")
echo "a letter" >"$WINEPREFIX/drive_c/users/$user/Documents/Setwright letter.txt"
sys32='C:\windows\system32'
# What the uninstaller says of each: the whole information refused (exit 2), or, for a
# shared file, the file kept because no usage count shows that an installation put it there.
while IFS=';' read -r want said item; do
  rm -rf "$work/tampered"
  run "$work/Tampered.exe" "/D=$(winpath "$work/tampered")"
  expect 0 "Installation complete." "installation before tampering"
  # The installation's own records, then the altered one.
  "$makeInfo" "$work/tampered/Uninstal.dat" "installation=$(winpath "$work/tampered")" "file=$(winpath "$work/tampered/a.txt")" "$item" ||
    fail "make_uninstall_info $item"
  run "$work/tampered/Uninstal.exe"
  expect "$want" "$said" "information naming $item"
  if [ "$want" = 2 ]; then
    [ -e "$work/tampered/a.txt" ] && [ -e "$work/tampered/Uninstal.exe" ] || fail "information naming $item removed files of its own"
  fi
  reg delete "$uninstallKey\\Setwright Safety Tampered" /f >/dev/null
done <<CASES
2;Outside the installation, left alone;file=$sys32\\comdlg32.dll
0;No usage count, kept;shared=$sys32\\comdlg32.dll
2;Outside the installation, left alone;file=C:\\users\\$user\\Documents\\Setwright letter.txt
2;Outside the installation, left alone;folder=$sys32
2;left alone;key=0x80000002|Software\\Microsoft
2;left alone;key=0x80000001|Software
CASES
for dll in system32 syswow64; do
  [ ! -d "$WINEPREFIX/drive_c/windows/$dll" ] || [ -e "$WINEPREFIX/drive_c/windows/$dll/comdlg32.dll" ] || fail "$dll\\comdlg32.dll went"
done
[ -e "$WINEPREFIX/drive_c/users/$user/Documents/Setwright letter.txt" ] || fail "a document went"
reg query 'HKLM\Software\Microsoft' | grep -q . || fail "HKLM\Software\Microsoft went"
[ "$(entries)" = "$before" ] || fail "the list of installed programs changed after the altered information"

# 5. A changed bit in the records, the file table or the uninstaller's stream is found
#    before anything is written.
project Checked "$work/src" --title "Setwright Safety Checked"
at=$(dataStart "$work/Checked.exe")
packed=$("$cli" list "$work/Checked.exe" | awk '$1 == "Uninstal.exe" { gsub(",", "", $(NF - 3)); print $(NF - 3); exit }')
for target in "texts $(($(recordOffset "$work/Checked.exe" REC_WIZARD_TEXTS) + 40)) 2" \
              "file-table $(($(recordOffset "$work/Checked.exe" REC_FILE_TABLE) + 20)) 2" \
              "options $(recordOffset "$work/Checked.exe" REC_OPTIONS) 2" \
              "uninstaller $((at + packed / 2)) 4"; do
  set -- $target
  flip "$work/Checked.exe" "$2"
  run "$work/Flipped.exe" "/D=$(winpath "$work/flipped")"
  if [ "$rc" != "$3" ]; then fail "a bit changed in the $1 gave exit $rc, not $3"; sed 's/^/  | /' "$work/log.txt"; fi
  [ ! -e "$work/flipped" ] || fail "a bit changed in the $1 left $(find "$work/flipped" | head -5 | tr '\n' ' ')"
  rm -rf "$work/flipped"
done
[ "$(entries)" = "$before" ] || fail "the list of installed programs changed after the damaged programs"

# 9. A follow-on volume that is there but empty is invalid data, not a missing disk; an end
#    record whose size is one off is invalid data, not a request for disk 2.
mkdir -p "$work/span"
cp "$work/Checked.exe" "$work/span/Spanned.exe"
"$cli" split "$work/span/Spanned.exe" 8000 >/dev/null || fail "split"
: >"$work/span/Spanned.D01"
run "$work/span/Spanned.exe" "/D=$(winpath "$work/spanned")"
expect 2 "This file contains invalid data." "an empty follow-on volume"
[ ! -e "$work/spanned" ] || fail "a program with an empty volume installed something"
endAt=$(($(recordAt "$work/Checked.exe" REC_END) + 4))
cp "$work/Checked.exe" "$work/OffByOne.exe"
size=$(od -An -tu4 -j "$endAt" -N4 "$work/OffByOne.exe" | tr -d ' ')
printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $(((size + 1) & 255)) $((((size + 1) >> 8) & 255)) $((((size + 1) >> 16) & 255)) $((((size + 1) >> 24) & 255)))" |
  dd of="$work/OffByOne.exe" bs=1 seek="$endAt" conv=notrunc 2>/dev/null
run "$work/OffByOne.exe" "/D=$(winpath "$work/offbyone")"
expect 2 "This file contains invalid data." "an end record one byte off"
grep -qF "insert disk" "$work/log.txt" && fail "an end record one byte off asks for a disk"
[ ! -e "$work/offbyone" ] || fail "a program with an end record one off installed something"

# The ordinary case after all of these: a clean installation is byte for byte its sources,
# and the uninstaller leaves nothing but what the user added.
run "$work/Checked.exe" "/D=$(winpath "$work/plain")"
expect 0 "Installation complete." "a clean installation"
diff -r -x Uninstal.exe -x Uninstal.dat "$work/src" "$work/plain" >/dev/null || fail "the installed files differ from their sources"
echo "mine" >"$work/plain/user.txt"
run "$work/plain/Uninstal.exe"
expect 0 "Uninstallation complete." "the clean uninstallation"
[ "$(cd "$work/plain" && find . -mindepth 1)" = "./user.txt" ] || fail "the uninstaller left $(cd "$work/plain" && find . | tr '\n' ' ')"
[ "$(entries)" = "$before" ] || fail "the list of installed programs changed after the clean case"

reg delete "$uninstallKey\\Setwright Sentinel" /f >/dev/null
[ "$failures" -eq 0 ] && echo "All safety cases pass on platform $platform." || echo "$failures safety case(s) failed on platform $platform."
[ "$failures" -eq 0 ]
