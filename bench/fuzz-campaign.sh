#!/usr/bin/env bash
# A long fuzzing campaign: each fuzz target for SECONDS at the lowest priority, from the
# build's seed corpus into a corpus kept in BUILD_DIR/fuzz-campaign/<target>, then a table of
# executions and findings (BUILD_DIR/fuzz-campaign/summary.md). An input that breaks a
# property is saved in <target>/findings/ and ends that target's run.
# Usage: bench/fuzz-campaign.sh [BUILD_DIR] [SECONDS] [TARGET...]   (after scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
seconds=${2:-3600}
shift $(($# < 2 ? $# : 2))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(archive update_log command_line size_format dest_dir uninstall_log)
out=$build/fuzz-campaign
mkdir -p "$out"
[ -f "$out/summary.md" ] || printf '| Target | Seconds | Executions | Findings |\n|---|---|---|---|\n' >"$out/summary.md"

for t in "${targets[@]}"; do
  dir=$out/$t
  mkdir -p "$dir/corpus" "$dir/findings"
  status=0
  nice -n 19 "$build/host-native/fuzz_$t" -max_total_time="$seconds" -max_len="${ORV_FUZZ_MAX_LEN:-4096}" \
    -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$dir/findings/" \
    "$dir/corpus" "$build/fuzz-corpus/$t" >"$dir/log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -n 1)
  found=$(find "$dir/findings" -type f | wc -l)
  echo "| $t | $seconds | ${runs:-?} | $found (exit $status) |" | tee -a "$out/summary.md"
done
