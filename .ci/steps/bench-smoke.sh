#!/usr/bin/env bash
# Runs the benchmark at its smallest size, three runs: shows that it still
# builds and runs. It checks no timing.
set -eu
cd "$(dirname "$0")/../.."
VELKIN_BENCH_RUNS=3 bash bench/run.sh --smallest
# The page's figures at 1 MB (needs chromium, which scripts/deps.sh installs).
bash bench/page.sh 1
