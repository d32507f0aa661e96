#!/usr/bin/env bash
# Fails unless each Windows program imports only DLLs that come with Windows itself,
# so that it runs as a single file without any runtime installed next to it.
#   check_imports.sh OBJDUMP EXPECTED_MAGIC PROGRAM...
set -u
objdump=$1
magic=$2
shift 2
allowed=' kernel32.dll user32.dll gdi32.dll comdlg32.dll comctl32.dll advapi32.dll shell32.dll msvcrt.dll '
status=0
for program in "$@"; do
  headers=$("$objdump" -p "$program") || { echo "$program: cannot read"; status=1; continue; }
  format=$(awk '/^Magic/ {print $2}' <<<"$headers")
  if [ "$format" != "$magic" ]; then
    echo "$program: optional header magic $format, expected $magic"
    status=1
  fi
  dlls=$(awk '/DLL Name:/ {print tolower($3)}' <<<"$headers" | sort -u)
  for dll in $dlls; do
    case $allowed in
      *" $dll "*) ;;
      *) echo "$program imports $dll, which Windows does not provide"; status=1 ;;
    esac
  done
  echo "$program ($format) imports: $(echo $dlls)"
done
exit $status
