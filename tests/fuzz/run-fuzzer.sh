#!/usr/bin/env bash
# Runs the data file fuzzer for a number of seconds, starting from the seed
# corpus; new inputs and any crash go to tests/fuzz/findings (not committed).
# Usage: tests/fuzz/run-fuzzer.sh BUILD_DIR SECONDS
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR SECONDS}
seconds=${2:-600}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$here/findings/corpus" "$here/findings/crashes"
"$build/tests/fuzz/fuzz_load_data_file" \
    -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$here/findings/crashes/" \
    "$here/findings/corpus" "$here/corpus"
