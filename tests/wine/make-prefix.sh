#!/usr/bin/env bash
# Makes the Wine prefix named by WINEPREFIX (WINE and WINESERVER name the programs), so that
# nothing run in it reaches outside it: the profile folders are real folders inside the
# prefix, Wine draws its own frames, and its own fonts are there. Safe to run again: a prefix
# is complete once its mark is written, and a run that was stopped half way is finished by
# the next. The caller's USER and locale choose the profile's name and the code page, as
# wineboot takes them. Usage: make-prefix.sh
set -euo pipefail
: "${WINEPREFIX:?}" "${WINE:?}" "${WINESERVER:?}"
ready=$WINEPREFIX/.orv-prefix-ready
if [ ! -f "$ready" ]; then
  "$WINE" wineboot -i >/dev/null 2>&1 </dev/null || true
  # Wine draws captions and frames itself when no window manager runs.
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
  # Debian's Wine does not find its own fonts; without them the dialog layouts change.
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # One wait for the server to write the registry out and end, for all of the above.
  "$WINESERVER" -w >/dev/null 2>&1 </dev/null || true
fi

# wineboot links Desktop, Documents, Downloads, Music, Pictures, Videos and Templates to the
# invoking user's home folder (to the home itself when it has no such sub-folder), which
# every prefix on the machine then shares with the user. Each becomes an empty folder of the
# prefix's own. Replacing the links is sturdier than a private HOME for Wine: the prefix stays
# self-contained whoever runs a program in it later and with whatever HOME, and wineboot
# makes the links only when it makes or updates the prefix. A prefix made before this rule
# is mended here too.
prefix=$(cd "$WINEPREFIX" && pwd -P)
while IFS= read -r -d '' link; do
  target=$(readlink -f "$link" || true)
  case "$target" in
  "$prefix"/*) ;;
  *) rm -f "$link" && mkdir -p "$link" ;;
  esac
done < <(find "$prefix/drive_c/users" -type l -print0)
touch "$ready"
