#!/usr/bin/env bash
# Configures and builds into build/ (or $KELVRA_BUILD_DIR); extra arguments go to cmake. With
# KELVRA_TARGETS set (e.g. "kelvra kelvra-calc") only those targets are built.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KELVRA_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVRA_BUILD_GUI=ON "$@" >/dev/null
targets=()
for t in ${KELVRA_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
