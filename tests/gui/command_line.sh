#!/usr/bin/env bash
# setwright started from the command line under a virtual screen: "PROJECT.kft /B" builds the
# installation program and exits with status 0; a settings file that cannot be opened is
# reported and the window stays up with a new project.
# Usage: command_line.sh <setwright> <examples folder> <screenshot folder>
set -u
program=$(realpath "$1")
examples=$(realpath "$2")
shots=$(realpath -m "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$shots" "$work/home" && cp -r "$examples" "$work/examples"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share NO_AT_BRIDGE=1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cat >"$work/session.sh" <<SCRIPT
#!/usr/bin/env bash
# The build that the command line asks for runs and the program exits by itself.
timeout 120 "$program" "$work/examples/Example.kft" /B 2>/dev/null
echo "build=\$?" >"$work/status"
# A missing settings file: the program reports it and stays up.
"$program" "$work/missing.kft" -b 2>/dev/null &
pid=\$!
sleep 4
if kill -0 \$pid 2>/dev/null; then echo "missing=up" >>"$work/status"; fi
import -window root "$shots/12-missing-settings-file.png"
kill \$pid
SCRIPT
chmod +x "$work/session.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$work/session.sh"

grep -q '^build=0$' "$work/status" || fail "setwright Example.kft /B: $(head -1 "$work/status")"
[ -s "$work/examples/ExampleSetup.exe" ] || fail "setwright Example.kft /B wrote no installation program"
grep -q '^missing=up$' "$work/status" || fail "setwright missing.kft -b did not stay up"
[ "$failures" -eq 0 ]
