#!/usr/bin/env bash
# Times a whole silent install of the sample payload under Wine, paired against a silent
# NSIS (zlib) install of the same payload: alternating runs into fresh folders, the median
# of each and the median ratio. Nothing here fails a build.
# Usage: bench/silent-install.sh [BUILD_DIR] [PAIRS]   (results: BUILD_DIR/bench/silent-install.md)
# ORV_BENCH_DESKTOP=0: without a program holding Wine's desktop open between runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
pairs=${2:-20}
. "$root/bench/lib.sh"
bench_need hyperfine:hyperfine makensis:nsis pgrep:procps
bench_prepare orvsetup
makensis -V1 -DPAYLOAD="$build/resources/payload" -DOUTFILE="$out/nsis-setup.exe" "$root/bench/orvanel-nsis.nsi"

setup=$build/src/startup/OrvanelSetup.exe
nsis=$out/nsis-setup.exe
drive_c=$WINEPREFIX/drive_c
orv_dest='C:\bench-orvanel\Orvanel'
nsis_dest='C:\bench-nsis\Orvanel'
# Fresh for every run: the destination and, for the Orvanel setup, its shared data folder.
orv_fresh="$drive_c/bench-orvanel:$drive_c/ProgramData/Orvanel"
nsis_fresh="$drive_c/bench-nsis"
orv_cmd="$WINE '$setup' /S '/DIR=$orv_dest'"
nsis_cmd="$WINE '$nsis' /S '/D=$nsis_dest'"

# A Windows session always has its desktop and shell running. Wine starts its desktop
# process when a program first needs it and ends it once no program does, so every run
# would pay for starting it (about 115 ms here). A program kept open for the whole benchmark
# keeps the desktop up, as Windows would; ORV_BENCH_DESKTOP=0 measures without it.
if [ "${ORV_BENCH_DESKTOP:-1}" != 0 ]; then
  "$WINE" notepad >/dev/null 2>&1 </dev/null &
  desktop_keeper=$!
  trap 'kill "$desktop_keeper" 2>/dev/null; pkill -f "notepad\.exe" 2>/dev/null || true' EXIT
  for _ in $(seq 100); do pgrep -f 'explorer\.exe /desktop' >/dev/null && break; sleep 0.1; done
  sleep 1
fi

echo "== Whole silent install, paired and alternating ($pairs pairs)"
python3 "$root/bench/paired.py" "$pairs" "$out/silent-install.md" \
  "Orvanel setup /S" "$orv_fresh" "$orv_cmd" "NSIS zlib /S" "$nsis_fresh" "$nsis_cmd"

echo "== The same two with hyperfine (not paired: all runs of one, then the other)"
hyperfine --warmup 1 --runs 10 --export-markdown "$out/silent-install-hyperfine.md" \
  --prepare "rm -rf '$drive_c/bench-orvanel' '$drive_c/ProgramData/Orvanel' '$drive_c/bench-nsis'; while pgrep -f 'orv\\.exe' >/dev/null; do sleep 0.05; done; sync" \
  -n "Orvanel setup /S" "$orv_cmd" -n "NSIS zlib /S" "$nsis_cmd"
