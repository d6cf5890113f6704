#!/usr/bin/env bash
# Configures and builds into build/ (or $KELVRA_BUILD_DIR); extra arguments go to cmake.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KELVRA_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVRA_BUILD_GUI=ON "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
