#!/usr/bin/env bash
# Builds the libFuzzer targets with AddressSanitizer and
# UndefinedBehaviorSanitizer (clang, core only, no Qt) into build-fuzz/ and
# runs each for a short fixed time on its seed corpus. Any crash, leak,
# sanitizer report or hang fails the step; the input that found it is left
# in build-fuzz/findings/<target>/.
#
# Usage: tools/fuzz-check.sh [SECONDS_PER_TARGET] [TARGET...]
#   SECONDS_PER_TARGET defaults to 25; TARGET names are those of fuzz/*_fuzz.cpp
#   without the suffix (number_text, lng_file, ...).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-25}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(number_text lng_file xml_readers image_decode http_reply command_line image_build)
  targets+=(request_csv)
  targets+=(modbus_reply)
fi

tools/install-deps.sh clang-14 libclang-rt-14-dev
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 -DSW48230_SANITIZE=ON -DSW48230_FUZZ=ON \
  -DSW48230_GUI=OFF -DSW48230_TESTS=OFF -DSW48230_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=()
for target in "${targets[@]}"; do
  # The seeds stay as committed; what the run adds goes to a scratch corpus.
  work=build-fuzz/corpus/$target
  findings=build-fuzz/findings/$target
  rm -rf "$work" && mkdir -p "$work" "$findings"
  options=(-max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=65536
           -print_final_stats=1 -artifact_prefix="$findings/")
  [ -f "fuzz/$target.dict" ] && options+=(-dict="fuzz/$target.dict")
  log=build-fuzz/$target.log
  if build-fuzz/bin/fuzz_"$target" "${options[@]}" "$work" "fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    files=$(find "$work" "fuzz/corpus/$target" -type f | wc -l)
    echo "fuzz_$target: ok, $runs runs, $speed exec/s, corpus $files files"
  else
    echo "fuzz_$target: FAILED, see $log and $findings/"
    tail -n 40 "$log"
    failed+=("$target")
  fi
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzzing found problems in: ${failed[*]}"; exit 1; }
