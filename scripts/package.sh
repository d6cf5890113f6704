#!/usr/bin/env bash
# Builds the program and kelvra-calc and makes the Debian package kelvra_<version>_<arch>.deb in build/
# (or $KELVRA_BUILD_DIR); install it with `sudo apt install ./kelvra_*.deb`. Arguments go to cmake, for
# example -DKELVRA_PACKAGE_MAINTAINER="Name <address>" -DKELVRA_HOMEPAGE=https://...
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KELVRA_BUILD_DIR:-$root/build}
bash "$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVRA_BUILD_GUI=ON "$@" >/dev/null
cmake --build "$build" -j"$(nproc)" --target kelvra kelvra-calc kelvra_package_docs
# The tests and benchmarks are not installed, so the package needs only what was just built.
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/kelvra_*.deb
