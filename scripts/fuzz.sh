#!/usr/bin/env bash
# Builds the libFuzzer targets in fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, then runs each for SECONDS (default 60) from its
# corpus in fuzz/corpus/. Exits non-zero when any target finds a crash, a leak, a timeout or
# an input that breaks one of its properties; the input is kept in build-fuzz/fuzz-runs/.
# usage: scripts/fuzz.sh [SECONDS] [TARGET...]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
PACKAGES+=(clang libclang-rt-14-dev)
install_packages

SECONDS_EACH="${1:-60}"
shift || true
TARGETS=("$@")
((${#TARGETS[@]})) || TARGETS=(loader gbk book_list round_trip import)
DIR="$ROOT/build-fuzz"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$DIR" -G Ninja -DVANTLE_FUZZ=ON -DVANTLE_WITH_QT=OFF \
  -DVANTLE_TESTS=OFF -DVANTLE_BENCH=OFF -DVANTLE_WERROR=ON
cmake --build "$DIR" -j "$(nproc)" --target fuzz_targets

# A smaller quarantine of freed blocks than AddressSanitizer's 256 MB keeps long runs well
# within the memory limit.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=64}"
status=0
for target in "${TARGETS[@]}"; do
  # New inputs go to a scratch folder: the corpus in the repository only changes by hand.
  runs="$DIR/fuzz-runs"
  rm -rf "$runs/$target" "$runs/$target".log
  mkdir -p "$runs/$target"
  echo "== fuzz_$target: $SECONDS_EACH s"
  if "$DIR/bin/fuzz_$target" -max_total_time="$SECONDS_EACH" -rss_limit_mb=512 -timeout=2 \
    -max_len=8192 -dict="$ROOT/fuzz/books.dict" -artifact_prefix="$runs/$target-" \
    -print_final_stats=1 "$runs/$target" "$ROOT/fuzz/corpus/$target" >"$runs/$target.log" 2>&1; then
    # The last line of progress holds the edges covered ("cov:").
    grep -E "^#[0-9]+[[:space:]]+DONE" "$runs/$target.log" | tail -1 || true
    grep -E "stat::(number_of_executed_units|average_exec_per_sec)" "$runs/$target.log" || true
  else
    status=1
    echo "fuzz_$target FAILED (log: $runs/$target.log):"
    grep -v "^#[0-9]" "$runs/$target.log" | tail -60
  fi
done
exit "$status"
