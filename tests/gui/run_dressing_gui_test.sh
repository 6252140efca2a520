#!/usr/bin/env bash
# Runs the window dressing's GUI test under a virtual screen, in a fresh profile.
# Usage: run_dressing_gui_test.sh <gui_dressing_tests> <screenshot folder>
set -u
tests=$(realpath "$1")
mkdir -p "$2"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share NO_AT_BRIDGE=1
export SETWRIGHT_SCREENSHOTS=$(realpath "$2")
# New opens a plain project: the new-project wizard has tests of its own.
mkdir -p "$XDG_CONFIG_HOME" && printf '[General]\nwizard=0\n' > "$XDG_CONFIG_HOME/Setwright.conf"
xvfb-run -a -s "-screen 0 1280x1024x24" "$tests" 2> >(grep -v -e Gtk-WARNING -e Gtk-CRITICAL -e '^$' >&2)
