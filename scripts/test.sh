#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test with ctest.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh"
build=${KELVRA_BUILD_DIR:-$root/build}
cd "$build"
bash "$root/scripts/fuzz.sh" --runs 5000 # the INI and project readers against random bytes
bash "$root/scripts/cups.sh" # the print tests print through a PDF printer
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300
