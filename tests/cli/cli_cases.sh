#!/usr/bin/env bash
# setwright-cli as a user meets it: each case gives the arguments, the exit code and a
# line the output must hold. Usage: cli_cases.sh <setwright-cli> <example folder>
set -u
cli=$1
example=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect <exit code> <text the combined output must contain> -- <arguments...>
expect() {
  local want=$1 text=$2
  shift 3
  local out rc
  out=$("$cli" "$@" 2>&1)
  rc=$?
  if [ "$rc" != "$want" ] || ! grep -qF -- "$text" <<<"$out"; then
    echo "FAIL: setwright-cli $*"
    echo "  wanted exit $want and '$text', got exit $rc:"
    sed 's/^/  | /' <<<"$out"
    failures=$((failures + 1))
  fi
}

printf '\x03\x00\x01\x00' >"$work/future.kft"        # version 0x10003
printf '\x02\x00\x01\x00\x05ab' >"$work/cut.kft"      # cut short inside the source directory
: >"$work/empty.kft"
mkdir -p "$work/src/sub" && echo a >"$work/src/a.txt" && echo b >"$work/src/sub/B.DLL"

expect 0 "Title:             Setwright Example" -- "$example/Example.kft"
expect 0 "docs\\licence.txt"                    -- "$example/Example.kft"
expect 0 "Usage: setwright-cli SETTINGS.kft"    -- --help
expect 0 "setwright-cli 1.2"                    -- --version
expect 2 "name exactly one settings file"       --
expect 2 "Try 'setwright-cli --help'"           -- --frobnicate x.kft
expect 1 "Cannot open $work/missing.kft: No such file or directory" -- "$work/missing.kft"
expect 1 "future.kft: Incorrect version"        -- "$work/future.kft"
expect 1 "cut.kft: Unexpected file format."     -- "$work/cut.kft"
expect 1 "empty.kft: Unexpected file format."   -- "$work/empty.kft"
expect 1 "Cannot read $work/src/: Is a directory" -- "$work/src/"
expect 1 "Cannot find this directory"           -- --new "$work/nowhere" --output "$work/x.kft"
expect 0 "Saved $work/new.kft (files: 2)."      -- --new "$work/src" --output "$work/new.kft" --title "Acme"
expect 0 ".......  sub\\B.DLL"                  -- "$work/new.kft"
expect 0 "Title:             Acme"              -- "$work/new.kft"
expect 0 "(files: 1)."                         -- --new "$work/src" --no-subdirs -o "$work/flat.kft"
expect 1 "Failed to save document. Cannot create $work/no/x.kft" -- --new "$work/src" -o "$work/no/x.kft"
[ ! -e "$work/no" ] || { echo "FAIL: a failed save left output behind"; failures=$((failures + 1)); }

# Same input, same bytes: a project saved twice is identical.
"$cli" --new "$work/src" -o "$work/again.kft" --title "Acme" >/dev/null
cmp -s "$work/new.kft" "$work/again.kft" || { echo "FAIL: saving is not deterministic"; failures=$((failures + 1)); }

[ "$failures" = 0 ] && echo "all cases passed"
exit $((failures != 0))
