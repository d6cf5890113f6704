#!/usr/bin/env bash
# Builds the fuzz targets (INI and project readers, language files, placement texts) with clang and
# runs each one:
#   scripts/fuzz.sh [SECONDS]   for that many seconds each (default 60)
#   scripts/fuzz.sh --runs N    for N inputs each (what CI does)
# Exits nonzero when a target crashes; the crashing input is left in the build folder.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KELVRA_FUZZ_BUILD_DIR:-$root/build-fuzz}
if [[ "${1:-}" == "--runs" ]]; then
    limit="-runs=${2:?--runs needs a number}"
else
    limit="-max_total_time=${1:-60}"
fi
# Configuring again is quick and makes an older build folder take these options.
# -O1 with line tables only: a few thousand inputs need no more speed, and the build is CI's time.
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -gline-tables-only" \
    -DKELVRA_FUZZ=ON -DKELVRA_BUILD_GUI=OFF -DKELVRA_BUILD_BENCH=OFF -DKELVRA_BUILD_TESTS=OFF \
    -DKELVRA_SANITIZE=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_ini fuzz_project fuzz_language fuzz_placement >/dev/null
status=0
for target in ini project language placement; do
    # The fuzzer adds what it finds to its corpus; work on a copy so the repository stays as it is.
    work="$build/corpus-$target"
    mkdir -p "$work"
    case $target in
    ini | project) seeds="$root/tests/persist/corpus/$target" ;;
    *) seeds="$root/tests/fuzz/corpus/$target" ;;
    esac
    cp -n "$seeds/"* "$work/"
    log="$build/fuzz_$target.log"
    if "$build/bin/fuzz_$target" "$limit" -max_len=8192 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/crash-$target-" "$work" >"$log" 2>&1; then
        echo "fuzz_$target: $(grep -E '^(Done|stat::average_exec_per_sec)' "$log" | tr -s ' \n' ' ')"
    else
        echo "fuzz_$target FAILED (log: $log)" >&2
        tail -n 40 "$log" >&2
        status=1
    fi
done
exit $status
