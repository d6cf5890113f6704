#!/usr/bin/env bash
# Builds the fuzz targets of the INI and project readers with clang and runs each one:
#   scripts/fuzz.sh [SECONDS]   for that many seconds each (default 60)
#   scripts/fuzz.sh --runs N    for N inputs each (what CI does)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KELVRA_FUZZ_BUILD_DIR:-$root/build-fuzz}
if [[ "${1:-}" == "--runs" ]]; then
    limit="-runs=${2:?--runs needs a number}"
else
    limit="-max_total_time=${1:-60}"
fi
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVRA_FUZZ=ON \
    -DKELVRA_BUILD_GUI=OFF -DKELVRA_BUILD_BENCH=OFF -DKELVRA_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_ini fuzz_project >/dev/null
for target in ini project; do
    # The fuzzer adds what it finds to its corpus; work on a copy so the repository stays as it is.
    work="$build/corpus-$target"
    mkdir -p "$work"
    cp -n "$root/tests/persist/corpus/$target/"* "$work/" 2>/dev/null || true
    "$build/bin/fuzz_$target" "$limit" -max_len=65536 -timeout=10 "$work" 2>&1 | tail -n 1
done
