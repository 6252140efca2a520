#!/usr/bin/env bash
# A runtime may import only DLLs that Windows always loads from its system folder (its
# known DLLs): any other import would be looked for beside a downloaded installer first,
# before the program could restrict where DLLs come from.
# Usage: check_imports.sh <objdump> <runtime.exe>...
set -u
objdump=$1
shift
known=" advapi32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll "
status=0
for exe in "$@"; do
  imports=$("$objdump" -p "$exe" | awk '/DLL Name:/ { print tolower($3) }')
  [ -n "$imports" ] || { echo "FAIL: no imports read from $exe"; status=1; }
  for dll in $imports; do
    case "$known" in
      *" $dll "*) ;;
      *) echo "FAIL: $(basename "$exe") imports $dll, which is not a known DLL"; status=1 ;;
    esac
  done
done
[ "$status" -eq 0 ] && echo "Every runtime imports known DLLs only."
exit "$status"
