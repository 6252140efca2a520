#!/usr/bin/env bash
# Runs the GUI tests under a virtual screen with a fresh profile and a copy of the examples,
# then starts the program a second time to see the window and recent files come back.
# With a gtest filter, runs only those tests, in one start of the program.
# Usage: run_gui_tests.sh <gui_tests> <examples folder> <screenshot folder> [filter]
set -u
tests=$(realpath "$1")
examples=$(realpath "$2")
shots=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$shots" "$work/home" && cp -r "$examples" "$work/examples"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export SETWRIGHT_TEST_WORK=$work SETWRIGHT_SCREENSHOTS=$(realpath "$shots") NO_AT_BRIDGE=1
run() { xvfb-run -a -s "-screen 0 1280x1024x24" "$tests" "$@" 2> >(grep -v -e Gtk-WARNING -e Gtk-CRITICAL -e '^$' >&2); }
if [ $# -ge 4 ]; then run --gtest_filter="$4"; exit; fi
run --gtest_filter='GuiWindow.*' || exit 1
run --gtest_filter='GuiRestart.*' || exit 1
[ -f "$XDG_DATA_HOME/mime/packages/setwright-settings.xml" ] || { echo "FAIL: no per-user MIME type"; exit 1; }
grep -q 'Exec=".*gui_tests" %f' "$XDG_DATA_HOME/applications/setwright.desktop" || { echo "FAIL: no desktop entry"; exit 1; }
