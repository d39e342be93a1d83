#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Quillmarsh and runs the whole test suite: short fuzz
# runs, the suite in a normal build, and the suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer. FUZZ_SECONDS sets the length of each fuzz run (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)

echo "== formatting"
git ls-files '*.cpp' '*.h' | grep -v '^src/ui/IconData.cpp$' | xargs clang-format --dry-run --Werror

echo "== fuzz targets (${FUZZ_SECONDS:-20} s each)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARSH_FUZZ=ON \
  -DQUILLMARSH_GUI=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" >/dev/null
for target in fuzz_text_encoding fuzz_regex_matcher fuzz_response_stage; do
  corpus="build-fuzz/corpus/$target"
  mkdir -p "$corpus"
  if ! "build-fuzz/fuzz/$target" -max_total_time="${FUZZ_SECONDS:-20}" -rss_limit_mb=2048 \
      "$corpus" "fuzz/seeds/$target" >"build-fuzz/$target.log" 2>&1; then
    tail -n 40 "build-fuzz/$target.log"
    echo "fuzz target $target failed"
    exit 1
  fi
  echo "$target: $(grep -E '^Done' "build-fuzz/$target.log")"
done

echo "== sanitizer build"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUILLMARSH_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs" >/dev/null
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j2 --timeout 600 | tail -n 4

echo "== normal build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" >/dev/null
ctest --test-dir build --output-on-failure -j2
