#!/usr/bin/env bash
# Paired benchmark of the copy phase under Wine: the setup's entry writer (bench_catalogue
# extract, which writes every entry through TAttachedFiles::ExtractFile as the install worker
# does) against the minimal writer of the same archive, in alternating order, each round into
# fresh folders on a tmpfs drive (M:) and on the prefix's C: drive. Also counts wineserver
# requests per file written, sizes and peak memory.
# Usage: bench/copy.sh [BUILD_DIR] [ROUNDS]     (results: BUILD_DIR/bench/copy.md)
# ORV_BENCH_BEFORE=path/to/bench_catalogue.exe (built from an earlier commit) adds it to
# every round, for before-and-after figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
rounds=${2:-31}
. "$root/bench/lib.sh"
bench_need /usr/bin/time:time strace:strace pgrep:procps
bench_prepare bench_catalogue bench_minimal_writer orvsetup
setup=$build/bench/bench_catalogue.exe
minimal=$build/bench/bench_minimal_writer.exe

shm=/dev/shm/orv-bench-$$
mkdir -p "$shm"
ln -sfn "$shm" "$WINEPREFIX/dosdevices/m:"
trap 'rm -rf "$shm" "$WINEPREFIX/dosdevices/m:" "$WINEPREFIX/drive_c/benchcopy"' EXIT
raw=$out/copy-rounds.tsv
echo -e "drive\tround\tprogram\tinner_ms\twall_ms" > "$raw"

# run DRIVE ROUND NAME EXE TARGET: one fresh write, its in-process and whole-process times.
run() {
  local unixdir=$shm/copy
  [ "$1" = c ] && unixdir=$WINEPREFIX/drive_c/benchcopy
  rm -rf "$unixdir"
  local t0 t1 line ms
  t0=$(date +%s%N)
  line=$("$WINE" "$4" "$5" "$6" 2>/dev/null | tail -n1)
  t1=$(date +%s%N)
  ms=$(echo "$line" | sed -E 's/.*(extract|write) ([0-9.]+) ms.*/\2/')
  echo -e "$1\t$2\t$3\t$ms\t$(( (t1 - t0) / 1000000 ))" >> "$raw"
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
"$WINE" "$setup" load >/dev/null 2>&1  # warm the file cache and the server
for drive in m c; do
  target='M:\copy'; [ "$drive" = c ] && target='C:\benchcopy'
  for r in $(seq "$rounds"); do
    if [ $((r % 2)) = 1 ]; then
      run $drive "$r" setup "$setup" extract "$target"; run $drive "$r" minimal "$minimal" "$target" ""
    else
      run $drive "$r" minimal "$minimal" "$target" ""; run $drive "$r" setup "$setup" extract "$target"
    fi
    [ -z "${ORV_BENCH_BEFORE:-}" ] || run $drive "$r" before "$ORV_BENCH_BEFORE" extract "$target"
  done
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# Wineserver requests: strace counts the write and writev calls of this prefix's server while
# one program runs (every request is answered with one of them). The run that only inflates
# is subtracted, so what is left is the writing.
server_pid() {
  local p
  for p in $(pgrep -x wineserver64 || true); do
    if tr '\0' '\n' < "/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then echo "$p"; return; fi
  done
}
requests() {
  rm -rf "$shm/copy"
  local server tracer
  server=$(server_pid)
  strace -f -c -e trace=write,writev -p "$server" -o "$out/strace.txt" 2>/dev/null &
  tracer=$!
  sleep 1
  "$WINE" "$@" >/dev/null 2>&1 || true
  sleep 0.5
  kill -INT "$tracer"; wait "$tracer" 2>/dev/null || true
  awk '$NF == "write" || $NF == "writev" { n += $4 } END { print n + 0 }' "$out/strace.txt"
}
files=$(find "$shm/copy" -type f | wc -l)
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null || true  # a running server for strace to attach to
req_setup_load=$(requests "$setup" load)
req_setup=$(requests "$setup" extract 'M:\copy')
req_min_load=$(requests "$minimal")
req_min=$(requests "$minimal" 'M:\copy')

peak() { /usr/bin/time -v "$WINE" "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ { print $2 }'; }
rm -rf "$shm/copy"; peak_setup=$(peak "$setup" extract 'M:\copy')
rm -rf "$shm/copy"; peak_min=$(peak "$minimal" 'M:\copy')
archive=$(stat -c %s "$build/resources/payload.orvz")
size_setup=$(stat -c %s "$build/bin/OrvanelSetup.exe" 2>/dev/null || find "$build" -name OrvanelSetup.exe -exec stat -c %s {} \; | head -n1)
size_min=$(stat -c %s "$minimal")

python3 - "$raw" "$files" "$req_setup_load" "$req_setup" "$req_min_load" "$req_min" "$archive" "$size_setup" \
  "$size_min" "$peak_setup" "$peak_min" "$load_before" "$load_after" > "$out/copy.md" <<'PY'
import csv, statistics, sys
raw, files, rsl, rs, rml, rm, archive, ssetup, smin, psetup, pmin, lb, la = sys.argv[1:]
rows = list(csv.DictReader(open(raw), delimiter='\t'))
print(f"Machine load (1, 5, 15 min) before: {lb}; after: {la}\n")
print("| Drive | What | Setup median | Minimal median | Median of per-round ratios | Ratio range (middle half) |")
print("|---|---|---|---|---|---|")
for drive, name in (("m", "tmpfs (M:)"), ("c", "prefix C:")):
    for col, what in (("inner_ms", "copy phase, in process (ms)"), ("wall_ms", "whole process (ms)")):
        by = {}
        for r in rows:
            if r["drive"] == drive:
                by.setdefault(r["round"], {})[r["program"]] = float(r[col])
        for prog in ("setup", "before"):
            vals = [v for v in by.values() if prog in v and v.get("minimal")]
            if not vals:
                continue
            ratios = sorted(v[prog] / v["minimal"] for v in vals)
            s = statistics.median(v[prog] for v in vals)
            m = statistics.median(v["minimal"] for v in vals)
            q = statistics.quantiles(ratios, n=4) if len(ratios) > 1 else [ratios[0]] * 3
            label = what + (" (before)" if prog == "before" else "")
            print(f"| {name} | {label} | {s:.1f} | {m:.1f} | {statistics.median(ratios):.2f} | {q[0]:.2f}–{q[2]:.2f} |")
n = int(files)
per = lambda a, b: (int(b) - int(a)) / n
print(f"\nRounds: {len({r['round'] for r in rows})} per drive; files written per run: {n}\n")
print("| | Setup's writer | Minimal writer |")
print("|---|---|---|")
print(f"| wineserver requests per file written | {per(rsl, rs):.1f} | {per(rml, rm):.1f} |")
print(f"| executable size beyond the archive | {(int(ssetup) - int(archive)) / 1024:.0f} KB (OrvanelSetup.exe) | {(int(smin) - int(archive)) / 1024:.0f} KB |")
print(f"| peak resident memory of a whole copy | {int(psetup) / 1024:.1f} MB | {int(pmin) / 1024:.1f} MB |")
PY
cat "$out/copy.md"
