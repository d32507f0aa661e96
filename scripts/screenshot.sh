#!/usr/bin/env bash
# Takes a picture of the dialog as it starts, on a virtual display under Wine, cropped to
# the dialog.
#
#   scripts/screenshot.sh [OUTPUT.png]      (default docs/screenshot.png)
#
# Needs the 64-bit build (made here if missing), Xvfb, wine64 and ImageMagick.
set -eu
cd "$(dirname "$0")/.."
output=${1:-docs/screenshot.png}
program=$PWD/build/win64/SettingsConverter.exe
harness=tests/ui/ui_test_harness.sh
caption="Quimel SettingsConverter 1.00"

if [ ! -f "$program" ]; then
    cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
    cmake --build build/win64 --target SettingsConverter
fi
for tool in import convert xwininfo; do
    command -v "$tool" >/dev/null || { echo "screenshot: $tool is not installed" >&2; exit 1; }
done

work=$(mktemp -d /tmp/settings-screenshot.XXXXXX)
trap 'bash "$harness" cleanup "$work/state" >/dev/null; rm -rf "$work"' EXIT
bash "$harness" setup "$work/state" >/dev/null
# shellcheck source=/dev/null
. "$work/state/env"

(cd "$work" && /usr/lib/wine/wine64 "$program" </dev/null >"$work/program.log" 2>&1 &)
geometry=""
for _ in $(seq 1 150); do
    if info=$(xwininfo -name "$caption" 2>/dev/null) && printf '%s\n' "$info" | grep -q IsViewable; then
        x=$(printf '%s\n' "$info" | sed -n 's/.*Absolute upper-left X: *//p')
        y=$(printf '%s\n' "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
        width=$(printf '%s\n' "$info" | sed -n 's/.*Width: *//p')
        height=$(printf '%s\n' "$info" | sed -n 's/.*Height: *//p')
        geometry="${width}x${height}+${x}+${y}"
        break
    fi
    sleep 0.2
done
[ -n "$geometry" ] || { echo "screenshot: the dialog did not appear" >&2; exit 1; }
sleep 1  # let it finish painting
import -window root "$work/screen.png"
mkdir -p "$(dirname "$output")"
convert "$work/screen.png" -crop "$geometry" +repage -strip "$output"
echo "wrote $output ($geometry)"
