#!/usr/bin/env bash
# Makes the README's screenshot: the main window in simulation mode with a typical boot enclosure
# (a 12" woofer, a slanted rear panel, one round port), grabbed under Xvfb.
# Usage: scripts/screenshot.sh [OUTPUT.png]   (default resources/screenshot-main.png)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(realpath -m "${1:-$root/resources/screenshot-main.png}")
build=${KELVRA_BUILD_DIR:-$root/build}
if [[ ! -x $build/bin/kelvra ]]; then
    bash "$root/scripts/build.sh"
fi
command -v xvfb-run >/dev/null || { echo "screenshot.sh: xvfb-run is missing (apt-get install xvfb)" >&2; exit 1; }

# A program folder of its own, so the screenshot never touches the build's settings file.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/bin/kelvra" "$build"/bin/*_lng.ini "$work/"
cp "$build/bin/kelvra_history.txt" "$work/" 2>/dev/null || true
cat >"$work/kelvra.ini" <<'INI'
[Main]
USE=1
[Settings]
Language=0
[LU]
sub=3
subvol=0
pieces0=0
pieces1=0
pieces2=1
corr=2
pwhere=0
ptype=0
h2=38
l3=70
b2=45
ca=70
cb=90
lp=21,3
dp=7,5
bp=0
hp=0
thick0=18
thick1=18
thick2=18
vother=0
INI
(cd "$work" && LC_ALL=nl_NL.UTF-8 KELVRA_SCREENSHOT="$out" timeout 30 xvfb-run -a -s "-screen 0 1024x768x24" ./kelvra)
echo "$out"
