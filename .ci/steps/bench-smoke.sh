#!/usr/bin/env bash
# Runs the benchmark at its smallest size, three runs: shows that it still
# builds and runs. It checks no timing.
set -eu
cd "$(dirname "$0")/../.."
VELKIN_BENCH_RUNS=3 bash bench/run.sh --smallest
