#!/usr/bin/env bash
# Builds and runs the benchmarks. Each compares against a baseline measured in
# the same run; read the ratios, not the absolute times.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh bench
echo "== Calculations (compare WholeCalculation with Baseline)"
build/bench/bench/calc_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
echo "== Window on the offscreen platform"
build/bench/bench/window_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
echo "== Input field with 10 characters, 1 MB and 10 MB (compare each with the 10-character figure)"
build/bench/bench/text_field_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
echo "== Start-up under Xvfb"
build/bench/bench/startup_bench build/bench/app/soakmark build/bench/bench/startup_baseline "${1:-15}"
