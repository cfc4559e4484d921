#!/usr/bin/env bash
# Runs the benchmarks of TOMARIO and, on the same 1 000 000-book file in the
# same run, the yardsticks of the shared perf folder when it is there.
# Usage: bench/run-benchmarks.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
perf_dir=${TOMARIO_PERF_DIR:-$root/../shared/perf}
out=$root/bench/out
runs=${BENCH_RUNS:-5}
mkdir -p "$out"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p"; }
# Median wall seconds and peak MiB of a command over $runs runs.
measure() {
    local label=$1; shift
    local times=() peaks=()
    for _ in $(seq "$runs"); do
        /usr/bin/time -f '%e %M' -o "$out/time.txt" "$@" > /dev/null
        read -r t m < "$out/time.txt"
        times+=("$t"); peaks+=("$m")
    done
    local t m
    t=$(printf '%s\n' "${times[@]}" | median)
    m=$(printf '%s\n' "${peaks[@]}" | median)
    printf '%-44s %8.2f s %8.0f MiB\n' "$label" "$t" "$((m / 1024))"
    echo "$label|$t|$((m / 1024))" >> "$out/summary.txt"
}

: > "$out/summary.txt"
echo "== Catalogue file of 1 000 000 books"
file=$out/catalogue-1000000.dat
if [[ -f "$perf_dir/gen_catalogue.py" ]]; then
    [[ -f "$file" ]] || python3 "$perf_dir/gen_catalogue.py" 1000000 "$file"
else
    echo "(no yardstick folder at $perf_dir: using our own generator)"
    [[ -f "$file" ]] || "$build/bench/data/tomario_generate" 1000000 "$file"
fi
ls -l "$file" | awk '{printf "%.0f MB\n", $5 / 1e6}'
cat "$file" > /dev/null # into the page cache

echo "== Load and save, median of $runs runs"
if [[ -f "$perf_dir/ref_load.cpp" ]]; then
    g++ -O2 -std=c++17 -o "$out/ref_load" "$perf_dir/ref_load.cpp" $(pkg-config --cflags --libs icu-i18n icu-uc)
    measure "ref_load icukey (yardstick)" "$out/ref_load" "$file" icukey
    measure "ref_load save (yardstick)" "$out/ref_load" "$file" save "$out/ref-save.dat"
fi
if command -v sqlite3 > /dev/null; then
    measure "sqlite3 .import + ORDER BY titolo" sqlite3 :memory: \
        -cmd ".mode tabs" -cmd ".import $file t" "SELECT count(*) FROM (SELECT * FROM t ORDER BY titolo);"
fi
measure "TOMARIO load" "$build/bench/data/tomario_load_tool" "$file"
measure "TOMARIO load + save" "$build/bench/data/tomario_load_tool" "$file" "$out/tomario-save.dat"
"$build/bench/data/tomario_load_tool" "$out/tomario-save.dat" "$out/tomario-save-2.dat"
cmp -s "$out/tomario-save.dat" "$out/tomario-save-2.dat" && echo "saved file loads and saves back byte-identical"
measure "TOMARIO load of its own (sorted) file" "$build/bench/data/tomario_load_tool" "$out/tomario-save.dat"

echo "== Benchmarks"
for program in "$build"/bench/*/bench_*; do
    [[ -f "$program" && -x "$program" ]] || continue
    echo "-- $(basename "$program")"
    "$program" --benchmark_counters_tabular=true
done
