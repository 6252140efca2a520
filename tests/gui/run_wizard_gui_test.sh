#!/usr/bin/env bash
# Runs the new-project wizard's GUI test under a virtual screen with a fresh profile (so
# that New opens the wizard) in a scratch folder.
# Usage: run_wizard_gui_test.sh <gui_wizard_tests> <screenshot folder>
set -u
tests=$(realpath "$1")
shots=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$shots" "$work/home"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export SETWRIGHT_TEST_WORK=$work SETWRIGHT_SCREENSHOTS=$(realpath "$shots") NO_AT_BRIDGE=1
xvfb-run -a -s "-screen 0 1280x1024x24" "$tests" 2> >(grep -v -e Gtk-WARNING -e Gtk-CRITICAL -e '^$' >&2)
