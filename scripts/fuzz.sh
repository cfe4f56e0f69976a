#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan, in build-fuzz) and fuzzes
# each one for SECONDS from a scratch copy of its seeds in fuzz/corpus/<target>,
# so the repository stays clean. Per target it prints the runs, the coverage,
# how many of the known crash-* seeds still crash, and the new crashes found;
# new crash inputs are kept in build-fuzz/artifacts/<target>/.
# Exit status 1 when a run found a crash, a crash-* seed crashes again, or a
# target did not run.
#
# Usage: scripts/fuzz.sh [--ci] [--seconds N] [target...]
#   --ci          20 seconds per target (the default is 60), from a fixed seed so that
#                 every CI run tries the same inputs first
#   --seconds N   N seconds per target
#   target        fuzz_module fuzz_edits fuzz_jet fuzz_settings fuzz_commands fuzz_groups (default: all)
# Environment: BUILD_DIR (default build-fuzz), CC/CXX (default clang-14/clang++-14).
set -euo pipefail
cd "$(dirname "$0")/.."

all=(fuzz_module fuzz_edits fuzz_jet fuzz_settings fuzz_commands fuzz_groups)
seconds=60
seed_option=()
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --ci) seconds=20 seed_option=(-seed=1) ;;
    --seconds) seconds="$2"; shift ;;
    -h | --help) sed -n '2,15p' "$0"; exit 0 ;;
    fuzz_*) targets+=("$1") ;;
    *) echo "fuzz.sh: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")

build="${BUILD_DIR:-build-fuzz}"
if [ ! -f "$build/build.ninja" ]; then
  CC="${CC:-clang-14}" CXX="${CXX:-clang++-14}" cmake -S . -B "$build" -G Ninja -DPV_BUILD_FUZZ=ON \
    -DPV_BUILD_GUI=OFF -DPV_BUILD_BENCH=OFF -DPV_SANITIZE=ON >/dev/null
fi
nice -n 10 cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}:abort_on_error=0"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}:halt_on_error=1"

found=0
printf '%-14s %10s %6s %7s %7s %12s %8s\n' target runs cov ft corpus known-crash crashes
for target in "${targets[@]}"; do
  bin="$(realpath "$build/fuzz/$target")"
  seeds="fuzz/corpus/$target"
  mkdir -p "$work/$target/corpus" "$work/$target/artifacts"
  # Crash seeds are replayed below, not fuzzed from: every job would stop on them.
  find "$seeds" -maxdepth 1 -type f ! -name 'crash-*' -exec cp {} "$work/$target/corpus/" \;

  # Crash seeds pin down faults already reported: they crash until fixed.
  known=0 still=0
  for seed in "$seeds"/crash-*; do
    [ -e "$seed" ] || continue
    known=$((known + 1))
    "$bin" "$seed" >/dev/null 2>&1 || still=$((still + 1))
  done

  # Fork mode keeps fuzzing past a crash, so one known fault does not end the run.
  log="$work/$target/log"
  (cd "$work/$target" && "$bin" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -timeout=10 -rss_limit_mb=2048 -max_total_time="$seconds" "${seed_option[@]}" -artifact_prefix="$work/$target/artifacts/" \
    corpus >"$log" 2>&1) || true

  stats="$(grep -E '^#[0-9]+: cov:' "$log" | tail -n 1 || true)"
  runs="$(sed -nE 's/^#([0-9]+):.*/\1/p' <<<"$stats")"
  cov="$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$stats")"
  ft="$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$stats")"
  corp="$(sed -nE 's/.* corp: ([0-9]+).*/\1/p' <<<"$stats")"
  crashes="$(find "$work/$target/artifacts" -type f | wc -l)"
  printf '%-14s %10s %6s %7s %7s %12s %8s\n' "$target" "${runs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" \
    "$still/$known" "$crashes"
  # A crash seed that crashes again is a fault come back.
  [ "$still" -eq 0 ] || found=1
  if [ "$crashes" -gt 0 ]; then
    found=1
    kept="$build/artifacts/$target"
    rm -rf "$kept" && mkdir -p "$kept"
    cp "$work/$target/artifacts"/* "$kept/"
    echo "  new crash inputs in $kept (replay: $bin <file>); kinds:"
    # The first line a crash prints names the broken property (or the sanitizer's finding).
    for input in $(find "$kept" -type f -name 'crash-*' | head -n 40); do
      message="$("$bin" "$input" 2>&1 | grep -a -m 1 -E '^fuzz_[a-z]+: |^SUMMARY: ' || true)"
      echo "${message:-(no message)}"
    done | sort | uniq -c | sort -rn | sed 's/^/  /'
  fi
  # A run that printed no statistics did not fuzz: that must not pass.
  [ -n "$stats" ] || { found=1; echo "  no statistics; the log ends with:"; tail -n 5 "$log" | sed 's/^/  /'; }
done
exit "$found"
