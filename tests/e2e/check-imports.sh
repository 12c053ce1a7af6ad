#!/usr/bin/env bash
# Fails when the executable imports a DLL that Windows does not always load from System32.
# A DLL outside the KnownDLLs list is looked for in the program's own folder first, before
# any code of the program runs: a copy planted beside the setup (a downloads folder) or the
# uninstaller (the temporary folder) would be loaded instead. Such DLLs are bound at run
# time from System32 by path. comctl32 is the exception that the manifest makes safe: its
# dependency on the side-by-side Common-Controls assembly is resolved before any folder.
# Usage: check-imports.sh OBJDUMP EXE...
set -euo pipefail
objdump=$1
shift
known='kernel32|user32|gdi32|advapi32|ole32|oleaut32|shell32|comdlg32|msvcrt|ntdll|shlwapi|imm32|rpcrt4|ws2_32|psapi|setupapi|normaliz|sechost|combase'
status=0
for exe in "$@"; do
  dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  [ -n "$dlls" ] || { echo "no import table found in $exe"; status=1; continue; }
  allowed="^(($known)\\.dll|api-ms-win-[a-z0-9-]+\\.dll)$"
  if grep -q 'Microsoft.Windows.Common-Controls' "$exe"; then allowed="^(($known|comctl32)\\.dll|api-ms-win-[a-z0-9-]+\\.dll)$"; fi
  bad=$(echo "$dlls" | grep -Ev "$allowed" || true)
  echo "$(basename "$exe") imports: $(echo $dlls)"
  if [ -n "$bad" ]; then echo "  not always loaded from System32: $(echo $bad)"; status=1; fi
done
exit $status
