#!/usr/bin/env bash
# Runs one fuzz target the way CI does: every seed once, whole, then a fixed number of
# mutations from them. Usage: run-fuzz.sh FUZZER CORPUS_DIR RUNS [MAX_LEN]
# An input that breaks a property is saved as crash-* in the current folder.
set -euo pipefail
fuzzer=$1 corpus=$2 runs=$3 max_len=${4:-4096}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
log=$scratch/log
mkdir "$scratch/new"

# Seeds larger than the mutation length (the sample archive) run whole here.
mapfile -t seeds < <(find "$corpus" -type f | sort)
if ! "$fuzzer" "${seeds[@]}" >"$log" 2>&1; then
  cat "$log"
  exit 1
fi
echo "${#seeds[@]} seeds of $corpus run whole"

# New inputs go to the scratch folder, so the seed folder stays as the build made it.
if ! "$fuzzer" -runs="$runs" -seed=1 -max_len="$max_len" -timeout=20 -print_final_stats=1 \
  "$scratch/new" "$corpus" >"$log" 2>&1; then
  cat "$log"
  exit 1
fi
grep -E '^(#[0-9]+ +(INITED|DONE)|stat::number_of_executed_units)' "$log" || true
