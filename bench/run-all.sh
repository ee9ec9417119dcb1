#!/usr/bin/env bash
# Runs every bench_* program of BUILD_DIR and prints its table; the counter
# per_question shows how the cost grows with the number of questions.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build_dir=$1

shopt -s nullglob
programs=("$build_dir"/bench_*)
if [ ${#programs[@]} -eq 0 ]; then
  echo "no bench_* program in $build_dir" >&2
  exit 2
fi
for program in "${programs[@]}"; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  "$program" --benchmark_counters_tabular=true
done
