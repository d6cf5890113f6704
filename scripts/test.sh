#!/usr/bin/env bash
# Installs what is missing and builds everything (program, tests, benchmarks); then builds the program
# and all tests again with AddressSanitizer and UBSan into build-san/ (or $KELVRA_SAN_BUILD_DIR) and
# runs every test there with ctest when KELVRA_SANITIZE_TESTS=1; otherwise the tests run in the
# normal build (the sanitizer round takes about 8 minutes more on 2 cores).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh"
build=${KELVRA_BUILD_DIR:-$root/build}
cd "$build"
bash "$root/scripts/fuzz.sh" --runs 2000 # the file readers and placement texts against random bytes
bash "$root/scripts/cups.sh" # the print tests print through a PDF printer

if [[ "${KELVRA_SANITIZE_TESTS:-0}" == 0 ]]; then
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300
else
    # Lean on purpose: -O1, line tables only, no benchmarks; the fuzz targets have their own build.
    san=${KELVRA_SAN_BUILD_DIR:-$root/build-san}
    cmake -S "$root" -B "$san" -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" -DKELVRA_SANITIZE=ON \
        -DKELVRA_BUILD_GUI=ON -DKELVRA_BUILD_BENCH=OFF >/dev/null
    cmake --build "$san" -j"$(nproc)"
    cd "$san"
    # Any report fails its test; only the leaks of libraries below Qt are suppressed.
    ASAN_OPTIONS=abort_on_error=0:detect_stack_use_after_return=0:strict_string_checks=1 \
        LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0" \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 600
fi
