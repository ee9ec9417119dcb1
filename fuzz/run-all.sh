#!/usr/bin/env bash
# Runs every fuzz_* program of BUILD_DIR for SECONDS seconds each, on a working
# copy of its seed corpus (fuzz/corpus/<name>/, which is never modified).
# Findings (crash-*, leak-*, oom-*, timeout-* inputs) are kept in
# BUILD_DIR/findings/; the script exits non-zero when any harness found something.
set -uo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR SECONDS" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd)
seconds=$2
fuzz_dir=$(cd "$(dirname "$0")" && pwd)

shopt -s nullglob
harnesses=("$build_dir"/fuzz_*)
if [ ${#harnesses[@]} -eq 0 ]; then
  echo "no fuzz_* program in $build_dir" >&2
  exit 2
fi

# The sanitizer keeps freed memory aside to catch its later use; its default
# 256 MB, with the allocator's own overhead, takes a fast harness past the
# memory limit below by itself. 64 MB still spans many thousands of runs.
export ASAN_OPTIONS="quarantine_size_mb=64${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

findings="$build_dir/findings"
mkdir -p "$findings"
failed=()
for harness in "${harnesses[@]}"; do
  [ -f "$harness" ] && [ -x "$harness" ] || continue
  name=$(basename "$harness")
  name=${name#fuzz_}
  work="$build_dir/corpus-$name"
  mkdir -p "$work"
  if [ -d "$fuzz_dir/corpus/$name" ]; then
    cp -r "$fuzz_dir/corpus/$name/." "$work/"
  fi
  echo "== fuzz_$name for ${seconds}s"
  if ! "$harness" -max_total_time="$seconds" -rss_limit_mb=512 -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$findings/" "$work" 2>"$build_dir/log-$name.txt"; then
    failed+=("$name")
    echo "fuzz_$name found a problem; see $build_dir/log-$name.txt and $findings/" >&2
    tail -n 40 "$build_dir/log-$name.txt" >&2
  else
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$build_dir/log-$name.txt" || true
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "findings in: ${failed[*]}" >&2
  exit 1
fi
echo "no findings"
