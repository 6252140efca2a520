# Sourced by the end-to-end scripts: the wine environment every run shares.
#
#   source wine_env.sh
#   prepare_prefix <wine> <prefix folder>
#
# Wine must not reach outside the test: winemenubuilder (which copies shortcuts and file
# types into the real home folder's menus) is off, and the user folders of the prefix
# (Desktop, Documents, ...), which wine links to the real home folder, are made real
# folders inside the prefix, so that a shortcut on the desktop or a document the tests
# make lands in the prefix and goes with it.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"

prepare_prefix() {
  local wine=$1
  export WINEPREFIX
  WINEPREFIX=$(realpath -m "$2")
  # A prefix made before the 32-bit wine was installed no longer starts: make it again.
  if [ -f "$WINEPREFIX/system.reg" ] && ! timeout 120 "$wine" cmd /c exit 0 >/dev/null 2>&1; then
    echo "  note: the wine prefix $WINEPREFIX does not start; making it again"
    wineserver -k >/dev/null 2>&1
    rm -rf "$WINEPREFIX"
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
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
