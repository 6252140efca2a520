#!/usr/bin/env bash
# The installer's wizard on a screen: setwright-cli writes the wizard test program of a
# fixture project (title "Acme Tools", a wizard bitmap, a background bitmap, an information
# text, a long welcome text, a file to view and one to run at the end) for every start page (-1, 0 to 5), in the small window mode
# and in the full-screen mode, and of a project without bitmaps or information text in the
# full-screen mode (the blue gradient, the layout without the bitmap band) for pages -1 and
# 2; each one runs under wine on the X display this script is given (run it under
# xvfb-run), its window titles are checked, and a screenshot of the screen goes to
# SHOTS/wizard-<mode>-page<N>.png. With the helper wizard_click.exe, buttons are clicked too:
# Browse opens the directory dialog, Next with a directory that does not exist asks to create
# it, Start moves through the simulated installation to the End page, and OK ends the test
# program with exit code 0 (SHOTS/wizard-<mode>-page<N>-<button>.png); and a real installation
# program is installed through its pages (SHOTS/wizard-install-end.png), fails to install
# into a directory that is a file (SHOTS/wizard-install-failed-end.png), refuses a directory
# that is not absolute (SHOTS/wizard-install-invalid-directory.png), and is left with Exit.
# A project with Japanese texts shows its Welcome page (SHOTS/wizard-japanese-page0.png).
# Usage: wizard_screens.sh <setwright-cli> <wine> <wine prefix folder> <screenshot folder> [<wizard_click.exe>]
set -u
cli=$(realpath "$1")
wine=$2
shots=$(realpath -m "$4")
click=${5:+$(realpath "$5")}
source "$(dirname "$(realpath "$0")")/wine_env.sh"
[ -n "${DISPLAY:-}" ] || { echo "no X display: run this under xvfb-run"; exit 1; }
work=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
mkdir -p "$shots"

# One prefix for every run, kept in the build folder. Wine draws the window frames itself
# (there is no window manager on the virtual screen), so that the captions show.
prepare_prefix "$wine" "$3" || exit 1
timeout 60 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w

# The fixtures: a file to install, a wizard bitmap of 128 x 280 pixels, a background pattern.
mkdir -p "$work/src"
echo "hello" >"$work/src/readme.txt"
# The file to run at the end leaves a mark beside itself.
printf '@echo off\r\necho ran>"%%~dp0ran.txt"\r\n' >"$work/src/finish.bat"
convert -size 128x280 gradient:'#2050b0-#f0c040' BMP3:"$work/wizard.bmp" || fail "convert wizard.bmp"
convert -size 48x48 pattern:checkerboard -fill '#204060' -colorize 60 BMP3:"$work/background.bmp" || fail "convert background.bmp"
# Texts in the export format: a welcome text that needs three lines, an information text
# longer than its window, a second text on the directory page.
{
  printf '*0001*\r\nWelcome to the #title Install program. This text is long on purpose: it has to wrap onto more lines than the template gives it, and the texts under it move down to make room.\r\n\r\n'
  printf '*0101*\r\n'
  for n in $(seq 1 40); do printf 'Line %d of the licence agreement that the information page shows in its scrollable window.\r\n' "$n"; done
  printf '\r\n*0202*\r\nTo install into another directory, type its name or click the button to the right of it.\r\n\r\n'
  printf '*0502*\r\nThe file of late changes is worth a look:\r\n\r\n'
  printf '*0503*\r\nThe last step runs when you click OK, unless you clear this box:\r\n\r\n'
} >"$work/texts.txt"
for mode in small full; do
  "$cli" new "$work/$mode.kft" --source "$work/src" --title "Acme Tools" --platform 2 --window-mode $([ $mode = full ] && echo 1 || echo 0) \
    --wizard-bitmap "$work/wizard.bmp" --background-bitmap "$work/background.bmp" --texts "$work/texts.txt" \
    --default-dir '#Program Files#\Acme Tools' --option readme.txt=1:1 --option finish.bat=1:2 >/dev/null ||
    fail "new $mode"
done
"$cli" new "$work/plain.kft" --source "$work/src" --title "Acme Tools" --platform 2 --window-mode 1 \
  --default-dir 'C:\Acme' >/dev/null || fail "new plain"

caption="Acme Tools Install Program"
titles=(Welcome Information Directory Confirmation Installing End)

# start <mode> <page>: writes and starts the test program, and waits for its page. Sets
# $pid, $tree (the windows) and $want (the title of the page's window: "<caption> - <page
# title>" in the small mode; in the full-screen modes the background window has the caption
# and the page the page title).
start() {
  local mode=$1 page=$2 title program try
  title=${titles[$((page < 0 ? 0 : page))]}
  program="$work/Test-$mode-$page.exe"
  want="$caption - $title"
  [ $mode != small ] && want=$title
  tree=""
  "$cli" test-wizard "$work/$mode.kft" -o "$program" --page "$page" >/dev/null || { fail "test-wizard $mode $page"; return 1; }
  "$wine" "$program" >"$work/wine.txt" 2>&1 &
  pid=$!
  waitfor "$want"
}

# waitfor <title>: waits up to 30 seconds for a window of that title, then for its painting.
waitfor() {
  local try
  for try in $(seq 1 60); do
    sleep 0.5
    tree=$(xwininfo -root -tree 2>/dev/null)
    grep -qF -- "\"$1\"" <<<"$tree" && break
  done
  sleep 1.5
  tree=$(xwininfo -root -tree 2>/dev/null)
}

stop() {
  wineserver -k >/dev/null 2>&1
  wait
}

# screenshot <file> <title> <what>: the screen, and the window of that title on it.
screenshot() {
  import -window root "$shots/$1" 2>/dev/null || fail "no screenshot $1"
  grep -qF -- "\"$2\"" <<<"$tree" || { fail "$3: no window titled \"$2\""; grep '"' <<<"$tree" | sed 's/^/  | /'; sed 's/^/  | /' "$work/wine.txt"; }
}

# shoot <mode> <page>
shoot() {
  local mode=$1 page=$2
  start $mode $page || return
  screenshot "wizard-$mode-page$page.png" "$want" "$mode page $page"
  if [ $mode != small ]; then
    # The background covers the screen and carries the caption.
    grep -F -- "\"$caption\"" <<<"$tree" | grep -qE ' (10[0-9][0-9])x(7[0-9][0-9])\+' ||
      fail "$mode page $page: no full-screen window titled \"$caption\""
  else
    ! grep -qF -- "\"$caption\"" <<<"$tree" || fail "small page $page: a background window"
  fi
  # The bitmaps and the gradient make many colours; a blank screen has one.
  local colours
  colours=$(identify -format %k "$shots/wizard-$mode-page$page.png" 2>/dev/null || echo 0)
  [ "${colours:-0}" -gt 64 ] || fail "$mode page $page: the screenshot has $colours colours"
  if [ $mode = plain ]; then
    # The gradient: blue at the top, dark blue at the bottom, no red or green.
    local top bottom
    top=$(convert "$shots/wizard-$mode-page$page.png" -format '%[pixel:p{4,40}]' info: 2>/dev/null)
    bottom=$(convert "$shots/wizard-$mode-page$page.png" -format '%[pixel:p{4,760}]' info: 2>/dev/null)
    [[ "$top" =~ ^srgb\(0,0,2[0-9][0-9]\)$ && "$bottom" =~ ^srgb\(0,0,[0-9]{1,2}\)$ ]] ||
      fail "plain page $page: no blue gradient behind the wizard (top $top, bottom $bottom)"
  fi
  stop
}

# press <mode> <page> <button id> <name> <title of the window that follows>
press() {
  local mode=$1 page=$2 id=$3 name=$4 next=$5 page_title
  start $mode $page || return
  page_title=$want
  "$wine" "$click" "$page_title" "$id" >/dev/null 2>&1 || fail "$mode page $page: cannot click $name"
  waitfor "$next"
  screenshot "wizard-$mode-page$page-$name.png" "$next" "$mode page $page, $name"
  stop
}

for mode in small full; do
  for page in -1 0 1 2 3 4 5; do shoot $mode $page; done
done
shoot plain -1
shoot plain 2

# Japanese texts: the pages are in the system's dialog font, which links the fonts of other
# scripts, so the texts show wherever a Japanese font is installed (fc-list :lang=ja; the
# screenshot shows boxes where none is). The captions are checked in any case.
printf '*0000*\r\nようこそ\r\n\r\n*0001*\r\n#title のセットアップへようこそ。\r\n\r\n*0002*\r\nこのプログラムは #title をハード ディスクにインストールします。\r\n\r\n*0600*\r\n#title インストール プログラム\r\n\r\n' \
  >"$work/japanese.txt"
"$cli" new "$work/japanese.kft" --source "$work/src" --title "Acme Tools" --platform 2 --window-mode 0 \
  --texts "$work/japanese.txt" >/dev/null || fail "new japanese"
if "$cli" test-wizard "$work/japanese.kft" -o "$work/Test-japanese.exe" --page 0 >/dev/null; then
  "$wine" "$work/Test-japanese.exe" >"$work/wine.txt" 2>&1 &
  pid=$!
  waitfor "Acme Tools インストール プログラム - ようこそ"
  screenshot wizard-japanese-page0.png "Acme Tools インストール プログラム - ようこそ" "japanese page 0"
  stop
else
  fail "test-wizard japanese"
fi

# install_through <directory> <what>: starts Setup.exe with /D=<directory> (which does not
# exist yet) and clicks Next, Next past the information, Next on the directory, Yes to
# creating it and Start, then waits for the End page. Sets $pid.
install_through() {
  local step page window
  "$wine" "$work/Setup.exe" "/D=Z:${1//\//\\}" >"$work/wine.txt" 2>&1 &
  pid=$!
  for step in "Welcome 1" "Information 1" "Directory 1" "- 6" "Confirmation 1"; do
    page=${step% *}
    window="$caption - $page"
    [ "$page" = - ] && window=$caption  # the question, in a message box
    waitfor "$window"
    "$wine" "$click" "$window" "${step#* }" >/dev/null 2>&1 || fail "$2: cannot click on \"$window\""
  done
  waitfor "$caption - End"
}

# wait_exit <pid>: waits up to 20 seconds for the program to end and sets $rc to its exit
# code (255 when it does not end). Not in a subshell: only this shell can wait for it.
wait_exit() {
  local try
  rc=255
  for try in $(seq 1 40); do
    if ! kill -0 "$1" 2>/dev/null; then
      wait "$1"
      rc=$?
      return
    fi
    sleep 0.5
  done
}

if [ -n "$click" ]; then
  press small 2 1007 browse "Please select a directory"
  # The default directory, "#Program Files#\Acme Tools", does not exist yet.
  press small 2 1 next "$caption"
  grep -qF -- "\"$caption - Directory\"" <<<"$tree" || fail "the Directory page left before the question was answered"
  press full 3 1 start "End"
  # OK on the End page ends the test program with exit code 0.
  start full 5
  kill -0 "$pid" 2>/dev/null || fail "full page 5: wine ended while the page was up"
  "$wine" "$click" End 1 >/dev/null 2>&1 || fail "full page 5: cannot click OK"
  wait_exit $pid
  [ "$rc" = 0 ] || fail "OK on the End page did not end the test program with exit code 0 (got $rc)"
  stop

  # A real installation through the wizard, into a directory that /D= proposes, and OK on
  # the End page.
  "$cli" build "$work/small.kft" -o "$work/Setup.exe" --yes >/dev/null || fail "build"
  target="$work/target dir"
  install_through "$target" install
  screenshot wizard-install-end.png "$caption - End" "install"
  "$wine" "$click" "$caption - End" 1 >/dev/null 2>&1 || fail "install: cannot click OK"
  wait_exit $pid
  [ "$rc" = 0 ] || { fail "the installation through the wizard ended with exit code $rc"; sed 's/^/  | /' "$work/wine.txt"; }
  cmp -s "$work/src/readme.txt" "$target/readme.txt" && cmp -s "$work/src/finish.bat" "$target/finish.bat" ||
    fail "the wizard did not install readme.txt and finish.bat"
  # The Run box was checked: OK ran finish.bat.
  for try in $(seq 1 20); do [ -e "$target/ran.txt" ] && break; sleep 0.5; done
  [ -e "$target/ran.txt" ] || fail "OK on the End page did not run finish.bat"
  stop

  # An installation that fails: the directory is a file, so nothing can go into it. The End
  # page shows the failure text with the reason, and OK ends with the engine's exit code.
  blocked="$work/blocked"
  echo "in the way" >"$blocked"
  install_through "$blocked" "failing install"
  screenshot wizard-install-failed-end.png "$caption - End" "failing install"
  "$wine" "$click" "$caption - End" 1 >/dev/null 2>&1 || fail "failing install: cannot click OK"
  wait_exit $pid
  [ "$rc" != 0 ] && [ "$rc" != 1 ] && [ "$rc" != 255 ] || fail "the failing installation ended with exit code $rc"
  [ "$(cat "$blocked")" = "in the way" ] || fail "the failing installation changed the file in its way"
  stop

  # A directory that is not absolute: Next on the directory page says "Invalid directory."
  # and the page stays.
  "$wine" "$work/Setup.exe" "/D=not\\absolute" >"$work/wine.txt" 2>&1 &
  pid=$!
  for step in Welcome Information Directory; do
    waitfor "$caption - $step"
    "$wine" "$click" "$caption - $step" 1 >/dev/null 2>&1 || fail "invalid directory: cannot click on $step"
  done
  waitfor "$caption"
  screenshot wizard-install-invalid-directory.png "$caption" "invalid directory"
  grep -qF -- "\"$caption - Directory\"" <<<"$tree" || fail "the Directory page left with an invalid directory"
  stop

  # Exit on the Welcome page, confirmed: exit code 1 and nothing installed.
  "$wine" "$work/Setup.exe" "/D=Z:${work//\//\\}\\left" >"$work/wine.txt" 2>&1 &
  pid=$!
  waitfor "$caption - Welcome"
  "$wine" "$click" "$caption - Welcome" 2 >/dev/null 2>&1 || fail "exit: cannot click Exit"
  waitfor "$caption"
  "$wine" "$click" "$caption" 6 >/dev/null 2>&1 || fail "exit: cannot answer Yes"
  wait_exit $pid
  [ "$rc" = 1 ] || fail "Exit confirmed on the Welcome page ended with exit code $rc, not 1"
  [ ! -e "$work/left" ] || fail "Exit on the Welcome page installed something"
  stop
fi

[ "$failures" -eq 0 ] && echo "All wizard screens pass; screenshots in $shots." || echo "$failures wizard screen check(s) failed."
[ "$failures" -eq 0 ]
