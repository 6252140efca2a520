# Sourced by the end-to-end scripts: the wine environment every run shares.
#
#   source wine_env.sh
#   prepare_prefix <wine> <prefix folder>
#
# Wine must not reach outside the test. winemenubuilder (which copies shortcuts and file
# types into a home folder's menus and desktop) is off; the run has a home folder of its
# own inside the prefix, so that whatever wine still writes for the user goes there; and
# the user folders of the prefix (Desktop, Documents, ...), which wine links to the home
# folder, are made real folders inside the prefix, so that a shortcut on the desktop or a
# document the tests make lands in the prefix and goes with it.
# DLL overrides: groups separated by ';', each "names=mode" (an empty mode disables).
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

prepare_prefix() {
  local wine=$1
  export WINEPREFIX
  WINEPREFIX=$(realpath -m "$2")
  export HOME=$WINEPREFIX/home XDG_CONFIG_HOME=$WINEPREFIX/home/.config XDG_DATA_HOME=$WINEPREFIX/home/.local/share
  export XDG_CACHE_HOME=$WINEPREFIX/home/.cache
  # A prefix made before the 32-bit wine was installed no longer starts: make it again.
  if [ -f "$WINEPREFIX/system.reg" ] && ! timeout 120 "$wine" cmd /c exit 0 >/dev/null 2>&1; then
    echo "  note: the wine prefix $WINEPREFIX does not start; making it again"
    wineserver -k >/dev/null 2>&1
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$HOME"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    timeout 300 "$wine" wineboot -i >/dev/null 2>&1 || { echo "wineboot failed"; return 1; }
    timeout 120 wineserver -w
  fi
  local folder
  for folder in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$folder" ]; then
      rm -f "$folder" && mkdir -p "$folder"
    fi
  done
}

winpath() { echo "Z:${1//\//\\}"; }

# run <program> <arguments...>: runs it unattended (/S) with its log in $work/log.txt, from
# the folder $runFolder (default: the current one), and waits until every process of the
# prefix has ended (the uninstaller's cleanup copy too). The exit code is in $rc. Needs $work
# and $wine.
run() {
  local program=$1 try
  shift
  rm -f "$work/log.txt"
  for try in 1 2; do
    (cd "${runFolder:-.}" && timeout 120 "$wine" "$program" /S "/LOG=$(winpath "$work/log.txt")" "$@") </dev/null >"$work/wine.txt" 2>&1
    rc=$?
    timeout 120 wineserver -w
    # The program writes its log first thing: without one, wine did not start it.
    [ -e "$work/log.txt" ] && break
    echo "  note: wine did not start $(basename "$program") (exit $rc); once more"
    sed 's/^/  | /' "$work/wine.txt"
  done
}

# expect <exit code> <text the log must contain> <what>: after run; needs fail().
expect() {
  if [ "$rc" != "$1" ] || ! grep -qF -- "$2" "$work/log.txt" 2>/dev/null; then
    fail "$3"
    echo "  wanted exit $1 and '$2', got exit $rc:"
    sed 's/^/  | /' "$work/log.txt" "$work/wine.txt" 2>/dev/null | head -60
  fi
}
