#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them, with the Node.js yardstick side by side on the
# same pages in the same run. Figures depend on the machine: compare within one run only.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j"$(nproc)" --target bench_core bench_ui >/dev/null
pages=$(mktemp -d)
trap 'rm -rf "$pages"' EXIT
build-release/bench/bench_core --write-pages "$pages"

echo "== matching: this program against the yardstick, same pages"
build-release/bench/bench_core --benchmark_filter='Page30' --benchmark_min_time=2 2>/dev/null | grep BM_
node bench/yardstick.js "$pages" 2

echo "== matching, larger and pathological pages; conversions on 1 MB"
build-release/bench/bench_core --benchmark_filter='Page2000|LfOnly|Wide|UrlEncode' 2>/dev/null | grep BM_

echo "== requests on loopback (150 KB page, a fresh connection each), and the curl command line"
build-release/bench/bench_core --benchmark_filter='Http|Curl' 2>/dev/null | grep BM_
build-release/bench/bench_core --peak-memory

echo "== the window"
build-release/bench/bench_ui 2>/dev/null | grep BM_
build-release/bench/bench_ui --startup 2>/dev/null
