#!/usr/bin/env bash
# check_imports.sh OBJDUMP PROGRAM.exe
# Passes when the program imports only DLLs that every Windows installation has, so the
# one .exe runs on its own.
set -u
objdump=$1
program=$2
# Windows' own DLLs; msvcrt.dll has been part of Windows itself since Windows 2000.
allowed="kernel32.dll user32.dll gdi32.dll comdlg32.dll advapi32.dll shell32.dll comctl32.dll msvcrt.dll"

if ! dump=$("$objdump" -p "$program"); then
    echo "FAIL: $objdump cannot read $program"
    exit 1
fi
imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p')
if [ -z "$imports" ]; then
    echo "FAIL: no imports found in $program"
    exit 1
fi
failed=0
for dll in $imports; do
    lower=$(printf '%s' "$dll" | tr 'A-Z' 'a-z')
    case " $allowed " in
        *" $lower "*) echo "  ok   $dll" ;;
        *) echo "  FAIL $dll is not one of Windows' own DLLs"; failed=1 ;;
    esac
done
exit $failed
