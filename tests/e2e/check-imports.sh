#!/usr/bin/env bash
# Fails when the executable imports a DLL that Windows itself does not ship.
# Usage: check-imports.sh OBJDUMP EXE
set -euo pipefail
objdump=$1 exe=$2
allowed='^(kernel32|user32|gdi32|advapi32|ole32|oleaut32|shell32|shfolder|comctl32|comdlg32|mpr|version|msvcrt|ntdll|uxtheme|shlwapi|api-ms-win-[a-z0-9-]+)\.dll$'
dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || { echo "no import table found in $exe"; exit 1; }
bad=$(echo "$dlls" | grep -Ev "$allowed" || true)
echo "imports: $(echo $dlls)"
if [ -n "$bad" ]; then echo "not a Windows system DLL: $bad"; exit 1; fi
