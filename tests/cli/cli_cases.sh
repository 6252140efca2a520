#!/usr/bin/env bash
# setwright-cli as a user meets it: each case gives the exit code, a line the output must
# hold, and the arguments. Usage: cli_cases.sh <setwright-cli> <examples folder>
set -u
cli=$(realpath "$1")
examples=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect <exit code> <text the combined output must contain> -- <arguments...>
expect() {
  local want=$1 text=$2
  shift 3
  local out rc
  out=$("$cli" "$@" 2>&1 </dev/null)
  rc=$?
  if [ "$rc" != "$want" ] || ! grep -qF -- "$text" <<<"$out"; then
    fail "setwright-cli $*"
    echo "  wanted exit $want and '$text', got exit $rc:"
    sed 's/^/  | /' <<<"$out"
  fi
}

project=$examples/Example.kft
printf '\x03\x00\x01\x00' >"$work/future.kft"        # version 0x10003
printf '\x02\x00\x01\x00\x05ab' >"$work/cut.kft"      # cut short inside the source directory
: >"$work/empty.kft"
mkdir -p "$work/src/sub" && echo a >"$work/src/a.txt" && echo b >"$work/src/sub/B.DLL"

# Help, version, usage errors.
expect 0 "Usage: setwright-cli build PROJECT.kft" -- --help
expect 0 "setwright-cli 1.2"                    -- --version
expect 2 "setwright-cli needs a file name"      --
expect 2 "Try 'setwright-cli --help'"           -- --frobnicate x.kft
expect 2 "build needs a file name"              -- build
expect 2 "unknown option: --fast"               -- build "$project" --fast
expect 2 "new needs --source DIR"               -- new "$work/x.kft"

# Reading settings files.
expect 0 "Title:             Setwright Example" -- "$project"
expect 0 "docs\\licence.txt"                    -- "$project"
expect 0 '"m_strName": "bin\\ExampleTool.dll"'  -- show "$project"
expect 0 '"lfFaceName": "Arial"'                -- show "$project"
expect 1 "Cannot open $work/missing.kft: No such file or directory" -- show "$work/missing.kft"
expect 1 "future.kft: Incorrect version"        -- "$work/future.kft"
expect 1 "cut.kft: Unexpected file format."     -- show "$work/cut.kft"
expect 1 "empty.kft: Unexpected file format."   -- "$work/empty.kft"
expect 1 "Cannot open $work/src/: Is a directory" -- "$work/src/"

# New projects.
expect 1 "Cannot find this directory"           -- new "$work/x.kft" --source "$work/nowhere"
expect 0 "Saved $work/new.kft (files: 2)."      -- new "$work/new.kft" --source "$work/src" --title "Acme"
expect 0 ".......  sub\\B.DLL"                  -- "$work/new.kft"
expect 0 '"m_strTitle": "Acme"'                 -- show "$work/new.kft"
expect 0 "(files: 1)."                          -- new "$work/flat.kft" --source "$work/src" --no-subdirs
expect 0 "(files: 2)."                          -- new "$work/t.kft" --source "$work/src" --default-dir '#System#\Acme' --target 'sub\b.dll=3'
expect 0 '"m_strDefaultDir": "#System#\\Acme"'  -- show "$work/t.kft"
"$cli" show "$work/t.kft" | tr -d ' \n' | grep -qF '"m_strName":"sub\\B.DLL","m_nOptions":[3,' || fail "--target did not set the file's target"
expect 0 "(files: 2)."                          -- new "$work/u.kft" --source "$work/src" --uninstaller Remove.exe \
  --remove-key 'HKEY_CURRENT_USER\Software\Acme' --remove-key 'HKLM\Software\Acme'
"$cli" show "$work/u.kft" | tr -d ' \n' | grep -qF '"m_strUninstallerName":"Remove.exe"' || fail "--uninstaller did not name the uninstaller"
"$cli" show "$work/u.kft" | tr -d ' \n' | grep -qF '"m_regKeysToRemove":["HKEY_CURRENT_USER\\Software\\Acme","HKLM\\Software\\Acme"]' ||
  fail "--remove-key did not list the keys in order"
expect 0 "(files: 2)."                          -- new "$work/nou.kft" --source "$work/src" --uninstaller ''
expect 0 '"m_strUninstallerName": ""'           -- show "$work/nou.kft"
expect 1 "nothere.txt is not a file of the project" -- new "$work/t2.kft" --source "$work/src" --target nothere.txt=1
[ ! -e "$work/t2.kft" ] || fail "a new project with an unknown --target file was saved"
expect 2 "--target wants NAME=N"                -- new "$work/t2.kft" --source "$work/src" --target a.txt=4
expect 2 "--target wants NAME=N"                -- new "$work/t2.kft" --source "$work/src" --target a.txt
expect 1 "Failed to save document. Cannot create $work/no/x.kft" -- new "$work/no/x.kft" --source "$work/src"
"$cli" new "$work/again.kft" --source "$work/src" --title "Acme" >/dev/null
cmp -s "$work/new.kft" "$work/again.kft" || fail "saving is not deterministic"

# Builds, then list and verify what was built. The file table keeps each file's last-access
# time, which the first read of a fresh checkout moves (relatime); reading the files once
# first keeps it still, so that two builds can be compared byte for byte.
find "$examples/files" -type f -exec cat {} + >/dev/null
expect 0 "Built $work/Setup.exe."               -- build "$project" -o "$work/Setup.exe"
expect 0 "bin\\ExampleTool.dll"                 -- build "$project" -o "$work/Setup2.exe"
cmp -s "$work/Setup.exe" "$work/Setup2.exe" || fail "building twice gives different programs"
expect 0 "$work/Setup.exe: 6 files verified."   -- verify "$work/Setup.exe"
expect 0 "REC_FILE_TABLE"                       -- list "$work/Setup.exe"
expect 1 "not a Setwright install program"      -- verify "$project"
head -c $(( $(stat -c %s "$work/Setup.exe") - 3000 )) "$work/Setup.exe" >"$work/cut.exe"  # cut after the image
expect 1 "The install program is damaged"       -- verify "$work/cut.exe"
cp "$work/Setup.exe" "$work/flipped.exe"
printf 'X' | dd of="$work/flipped.exe" bs=1 seek=$(( $(stat -c %s "$work/flipped.exe") - 40 )) conv=notrunc 2>/dev/null
expect 1 "do not verify"                        -- verify "$work/flipped.exe"
# Split into follow-on volumes, as a build onto small disks writes them: every file still
# verifies, a second split replaces the volumes of the first, and one that fits gives back
# the program as built. A third of the data section (which holds the uninstaller, whose
# size varies with the runtime) per file makes two volumes.
cp "$work/Setup.exe" "$work/Span.exe"
third=$(( $("$cli" list "$work/Setup.exe" | awk '$2 == "REC_END" { print $(NF - 2) }') / 3 + 1 ))
expect 0 "$third data bytes in the program, 2 fol" -- split "$work/Span.exe" "$third"
[ -f "$work/Span.D01" ] && [ -f "$work/Span.D02" ] || fail "split wrote no .D01 and .D02"
expect 0 "6 files verified."                    -- verify "$work/Span.exe"
expect 0 ", 0 follow-on volume(s)."             -- split "$work/Span.exe" 4294967295
expect 0 "6 files verified."                    -- verify "$work/Span.exe"
cmp -s "$work/Setup.exe" "$work/Span.exe" || fail "splitting back does not give the program as built"
[ ! -e "$work/Span.D01" ] || fail "a volume of an earlier split was left behind"
expect 2 "split wants a number of data bytes"   -- split "$work/Span.exe" 0
expect 2 "split wants a number of data bytes"   -- split "$work/Span.exe" 12x
expect 1 "not a Setwright install program"      -- split "$project" 1000
expect 1 "Cannot create $work/no/Setup.exe"     -- build "$project" -o "$work/no/Setup.exe"
[ ! -e "$work/no" ] || fail "a failed build left output behind"
expect 1 "no install program to build"          -- build "$work/new.kft"

# The classic command line: /B or -B (any flag starting with B), other flags ignored.
expect 0 "Built $work/Classic.exe."             -- "$project" /B --output "$work/Classic.exe"
expect 0 "    Number of files: 5"               -- -Build "$project" -o "$work/Classic2.exe" /x
expect 0 "Title:             Setwright Example" -- "$project" /x
expect 0 "Built $work/Quoted.exe."              -- "  \"$project\" " /b -o "$work/Quoted.exe"

# A project whose output path is relative builds beside its settings file.
"$cli" new "$work/rel.kft" --source "$work/src" --output "Rel.exe" >/dev/null
(cd / && "$cli" build "$work/rel.kft" >/dev/null 2>&1) && [ -f "$work/Rel.exe" ] || fail "relative output path"

# The source directory is found from the settings file's folder wherever the build runs.
mkdir -p "$work/moved" && cp -r "$examples/files" "$project" "$work/moved/"
(cd / && "$cli" build "$work/moved/Example.kft" -o "$work/moved.exe" >/dev/null 2>&1) || fail "moved project"
rm -r "$work/moved/files"
expect 1 "Cannot find this directory"           -- build "$work/moved/Example.kft" -o "$work/moved2.exe"

# Names the installer would refuse, or Windows cannot create, are refused at build time with
# the reason, and nothing is written: a folder named " ", a device name, a forbidden
# character, a folder name that ends in a dot.
while IFS='|' read -r name reason; do
  rm -rf "$work/names" && mkdir -p "$work/names/$(dirname "$name")" && echo x >"$work/names/$name" && echo y >"$work/names/ok.txt"
  "$cli" new "$work/names.kft" --source "$work/names" >/dev/null || fail "new with $name"
  expect 1 "cannot be installed: $reason"      -- build "$work/names.kft" -o "$work/names.exe"
  [ ! -e "$work/names.exe" ] || fail "a refused name ($name) left the output"
done <<NAMES
 /x.txt|a part of it is only dots or blanks
aux.txt|a part of it is a name that Windows keeps for a device
sub/Nul.log|a part of it is a name that Windows keeps for a device
a?b.txt|it holds a character that Windows does not allow in names
dir./x.txt|a part of it ends in a dot or a blank
NAMES

# A pipe is never read, wherever it is named: opening it would wait for a writer for ever.
mkdir -p "$work/pipes" && echo a >"$work/pipes/a.bin" && echo b >"$work/pipes/b.bin"
"$cli" new "$work/pipes.kft" --source "$work/pipes" >/dev/null || fail "new with pipes"
rm "$work/pipes/b.bin" && mkfifo "$work/pipes/b.bin" "$work/pipe.kft" "$work/pipe.exe"
for args in "build $work/pipes.kft -o $work/pipes.exe" "show $work/pipe.kft" "verify $work/pipe.exe" "list $work/pipe.exe"; do
  out=$(timeout 20 "$cli" $args 2>&1 </dev/null)
  rc=$?
  [ "$rc" = 1 ] && grep -qF "not a regular file" <<<"$out" || { fail "setwright-cli $args: exit $rc"; sed 's/^/  | /' <<<"$out"; }
done
[ ! -e "$work/pipes.exe" ] || fail "a build with a pipe left its output"

# A build stopped by SIGTERM or SIGHUP (a closed terminal) ends like one stopped with Ctrl+C:
# exit 1, no output, no temporary file.
mkdir -p "$work/big" "$work/tmp" && head -c 40000000 /dev/urandom >"$work/big/big.bin"
"$cli" new "$work/big.kft" --source "$work/big" >/dev/null || fail "new with a big file"
for stop in TERM HUP; do
  TMPDIR=$work/tmp "$cli" build "$work/big.kft" -o "$work/big.exe" >/dev/null 2>&1 &
  builder=$!
  sleep 0.5
  kill -"$stop" "$builder"
  wait "$builder"
  rc=$?
  [ "$rc" = 1 ] || fail "a build stopped by SIG$stop exited $rc"
  [ ! -e "$work/big.exe" ] && [ -z "$(ls -A "$work/tmp")" ] || fail "a build stopped by SIG$stop left $(ls "$work/big.exe" "$work/tmp" 2>/dev/null | tr '\n' ' ')"
done

[ "$failures" = 0 ] && echo "all cases passed"
exit $((failures != 0))
