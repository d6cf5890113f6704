#!/usr/bin/env bash
# Installs what is missing, builds and starts the program.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/deps.sh"
# Only the program and kelvra-calc: the tests and benchmarks are built by scripts/test.sh.
KELVRA_TARGETS="kelvra kelvra-calc" bash "$root/scripts/build.sh"
build=${KELVRA_BUILD_DIR:-$root/build}
if [[ -x "$build/bin/kelvra" ]]; then
    exec "$build/bin/kelvra" "$@"
fi
exec "$build/bin/kelvra-calc" "$@"
