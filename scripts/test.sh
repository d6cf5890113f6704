#!/usr/bin/env bash
# Installs what is missing, feeds the fuzz targets, then builds the program, kelvra-calc, the benchmarks
# and every test with AddressSanitizer and UBSan into build-san/ (or $KELVRA_SAN_BUILD_DIR) and runs
# every test there. KELVRA_SANITIZE_TESTS=0 builds everything into build/ (or $KELVRA_BUILD_DIR) and runs
# the tests there instead, without sanitizers: quicker, for a change that needs no memory checks. The
# print tests print through a CUPS scheduler of their own that ctest starts and stops in the build folder
# (scripts/cups.sh); the machine's is not used.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
sanitize=${KELVRA_SANITIZE_TESTS:-1}
# Each step says how long it took, so a slow CI run shows where its time went.
step() { echo "test.sh: $1 took $((SECONDS - ${2})) s"; }
start=$SECONDS
bash "$root/scripts/deps.sh"
# Every C++ file as the repository's .clang-format writes it.
(cd "$root" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror)
step "installing and the format check" "$start"
start=$SECONDS
bash "$root/scripts/fuzz.sh" --runs 2000 # the file readers and placement texts against random bytes
step "fuzzing" "$start"
start=$SECONDS

if [[ "$sanitize" == 0 ]]; then
    bash "$root/scripts/build.sh" -DKELVRA_BUILD_TESTS=ON
    cd "${KELVRA_BUILD_DIR:-$root/build}"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300
else
    # One build only, to stay within CI's time: lean on purpose (no optimisation, line tables only); the benchmarks
    # are only built here, the fuzz targets have their own build.
    san=${KELVRA_SAN_BUILD_DIR:-$root/build-san}
    cmake -S "$root" -B "$san" -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O0 -g1" -DKELVRA_SANITIZE=ON \
        -DKELVRA_BUILD_GUI=ON -DKELVRA_BUILD_TESTS=ON -DKELVRA_BUILD_BENCH=ON >/dev/null
    cmake --build "$san" -j"$(nproc)"
    step "the sanitizer build" "$start"
    cd "$san"
    # Any report fails its test; only the leaks of libraries below Qt are suppressed.
    ASAN_OPTIONS=abort_on_error=0:detect_stack_use_after_return=0:strict_string_checks=1 \
        LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0" \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 600
fi
