#!/usr/bin/env bash
# Fails when a Windows program of the product imports a library other than the platform's known
# system libraries (which the platform always takes from the system folder) and the side-by-side
# common controls. Any other library that a program imports is looked for beside the program
# first, in a distribution folder that others may be able to write to; the program loads such a
# library at run time from the system folder instead (platform::LoadSystemLibrary).
#
#   scripts/check_imports.sh OBJDUMP PROGRAM...
#
# OBJDUMP is the MinGW objdump; an empty PROGRAM is skipped (a program this build does not make).
set -euo pipefail
# objdump translates its headings under a localized environment (the Wine tests run in ru_RU).

if [ $# -lt 2 ]; then
    echo "usage: $0 OBJDUMP PROGRAM..." >&2
    exit 2
fi
objdump=$1
shift

allowed=(
    advapi32.dll comctl32.dll comdlg32.dll gdi32.dll imagehlp.dll imm32.dll kernel32.dll
    msvcrt.dll ntdll.dll ole32.dll oleaut32.dll psapi.dll rpcrt4.dll setupapi.dll shell32.dll
    shlwapi.dll user32.dll ws2_32.dll
)

status=0
checked=0
for program in "$@"; do
    [ -n "$program" ] || continue
    if [ ! -f "$program" ]; then
        echo "check_imports: $program does not exist" >&2
        status=1
        continue
    fi
    mapfile -t imports < <(LC_ALL=C "$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' |
        tr '[:upper:]' '[:lower:]')
    if [ ${#imports[@]} -eq 0 ]; then
        echo "check_imports: no imports read from $program" >&2
        status=1
        continue
    fi
    echo "$(basename "$program"): ${imports[*]}"
    for library in "${imports[@]}"; do
        if [[ " ${allowed[*]} " != *" $library "* ]]; then
            echo "check_imports: $program imports $library, which is not a known system library" >&2
            status=1
        fi
    done
    checked=$((checked + 1))
done
echo "check_imports: $checked programs checked"
exit $status
