#!/usr/bin/env bash
# Makes the README's screenshots under Xvfb: the main window in simulation mode with a typical boot
# enclosure (a 12" woofer, a slanted rear panel, one round port), the sound window on the same design with
# the shipped 12" example woofer in a midsize car, the boards window of that sloped box, and the layouter on
# the default model.
# Usage: scripts/screenshot.sh [FOLDER]   (default resources/; writes screenshot-main.png,
# screenshot-sound.png, screenshot-maxspl.png, screenshot-boards.png, screenshot-outlines.png,
# screenshot-3d.png, screenshot-layout.png and screenshot-bestfit.png there)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(realpath -m "${1:-$root/resources}")
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
cp -r "$build/bin/drivers" "$work/"
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
mkdir -p "$out"
# The settings below hold decimal commas, so the program runs with the Dutch number format they need.
shoot() { (cd "$work" && env LC_ALL=nl_NL.UTF-8 "$@" timeout 30 xvfb-run -a -s "-screen 0 1280x1024x24" ./kelvra); }
shoot KELVRA_SCREENSHOT="$out/screenshot-main.png" KELVRA_SCREENSHOT_SOUND="$out/screenshot-sound.png" \
    KELVRA_SCREENSHOT_MAXSPL="$out/screenshot-maxspl.png" \
    KELVRA_SCREENSHOT_BOARDS="$out/screenshot-boards.png" KELVRA_SCREENSHOT_OUTLINES="$out/screenshot-outlines.png" \
    KELVRA_SCREENSHOT_3D="$out/screenshot-3d.png"
# The default model: the first-run values, as a first start shows them.
sed -i '/^\[LU\]/,$d' "$work/kelvra.ini"
shoot KELVRA_SCREENSHOT_LAYOUT="$out/screenshot-layout.png" KELVRA_SCREENSHOT_BESTFIT="$out/screenshot-bestfit.png"
echo "$out/screenshot-main.png $out/screenshot-sound.png $out/screenshot-maxspl.png $out/screenshot-boards.png $out/screenshot-outlines.png" \
    "$out/screenshot-3d.png $out/screenshot-layout.png" \
    "$out/screenshot-bestfit.png"
