#!/usr/bin/env bash
# Runs the libFuzzer targets of tests/fuzz (the "fuzz" preset, clang 14 with
# AddressSanitizer and UndefinedBehaviorSanitizer) and prints a summary.
#   scripts/fuzz.sh                      every target for 300 s
#   scripts/fuzz.sh 5                    every target for 5 s (the unit level's short run)
#   scripts/fuzz.sh 600 fuzz_launch_ini  one target for 600 s
# FUZZ_FORK=N runs N worker processes per target (-fork; at most the cores
# that are free: the default 1 keeps to one core and one process).
# FUZZ_FRESH=1 starts from the seeds alone in an emptied build/fuzz/fresh/,
# so a short run takes as long as asked however large the corpus has grown.
# The working corpus grows in build/fuzz/corpus/<target> (seeded from
# tests/fuzz/corpus/<target>); inputs that crash, leak, time out or run out of
# memory are kept in build/fuzz/findings/<target>/. Exits 1 on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-300}"
shift || true
fork="${FUZZ_FORK:-1}"
fresh="${FUZZ_FRESH:-0}"

mkdir -p build/fuzz/logs
if ! { cmake --preset fuzz && cmake --build --preset fuzz; } >build/fuzz/logs/build.log 2>&1; then
  cat build/fuzz/logs/build.log >&2
  echo "fuzz: the fuzz targets did not build" >&2
  exit 2
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in tests/fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

# Inputs larger than any settings or group file a person keeps, small enough
# that every run is quick; one input may take 25 s at most and 1 GiB.
limits=(-max_len=8192 -rss_limit_mb=1024 -timeout=25 -malloc_limit_mb=1024 -print_final_stats=1)

# Inputs that crashed, leaked, hung or ran out of memory; slow ones
# (slow-unit-*) are kept beside them but are no fault.
count_findings() {
  find "$1" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l
}

summary=()
failed=0
for target in "${targets[@]}"; do
  binary="build/fuzz/$target"
  [ -x "$binary" ] || { echo "fuzz: no target $target" >&2; exit 2; }
  corpus="build/fuzz/corpus/$target"
  if [ "$fresh" = 1 ]; then
    corpus="build/fuzz/fresh/$target"
    rm -rf "$corpus"
  fi
  findings="build/fuzz/findings/$target"
  log="build/fuzz/logs/$target.log"
  mkdir -p "$corpus" "$findings"
  seeds=()
  [ -d "tests/fuzz/corpus/$target" ] && seeds+=("tests/fuzz/corpus/$target")
  options=("${limits[@]}" -max_total_time="$seconds" -artifact_prefix="$findings/")
  [ -f "tests/fuzz/$target.dict" ] && options+=(-dict="tests/fuzz/$target.dict")
  [ "$fork" -gt 1 ] && options+=(-fork="$fork" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)

  before=$(count_findings "$findings")
  status=0
  "$binary" "${options[@]}" "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
  after=$(count_findings "$findings")
  new=$((after - before))

  # One process prints stat:: lines; fork mode only its progress lines.
  # A figure the log lacks shows as "?".
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  [ -n "$execs" ] || execs=$( (grep -oE '^#[0-9]+' "$log" || true) | tail -1 | tr -d '#')
  coverage=$( (grep -oE 'cov: [0-9]+' "$log" || true) | tail -1 | cut -d' ' -f2)
  rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | tail -1)
  [ -n "$rss" ] || rss=$( (grep -oE 'rss: [0-9]+' "$log" || true) | tail -1 | cut -d' ' -f2)
  line=$(printf '%-22s execs %10s  cov %5s  peak rss %5s MiB  findings %s' \
    "$target" "${execs:-?}" "${coverage:-?}" "${rss:-?}" "$new")
  if [ "$status" -ne 0 ] || [ "$new" -gt 0 ]; then
    failed=1
    line="$line  FAILED (exit $status, log $log)"
    grep -E 'ERROR: |property failed|SUMMARY: ' "$log" | head -5 | sed 's/^/    /' >&2 || true
  fi
  echo "$line"
  summary+=("$line")
done

echo "fuzz summary (${seconds} s per target):"
printf '  %s\n' "${summary[@]}"
if [ "$failed" -ne 0 ]; then
  echo "fuzz: findings are in build/fuzz/findings/" >&2
  exit 1
fi
